#!/usr/bin/env bash
# The launcher under another system code page (Wine takes it from LANG): a
# message box and the settings dialog read through the wide functions show
# the GBK text decoded, a Chinese name typed into the name box is stored as
# GBK, and a comment nobody touched keeps its bytes.
# usage: codepage.sh LANG built|legacy
#   built: dida.exe as built; legacy: a copy whose manifest asks for no code
#   page (as a system that ignores the request runs it).
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"
trap cleanup_launcher EXIT
lang=${1:?usage: codepage.sh LANG built|legacy}
variant=${2:?usage: codepage.sh LANG built|legacy}

dir=$(e2e_folder "codepage-$lang-$variant")
if [ "$variant" = legacy ]; then
  wine "$(dirname "$DIDA_EXE")/manifest-without-code-page.exe" "$(winepath -w "$dir/dida.exe")" \
    </dev/null || fail "the manifest of the copy was not rewritten"
  ! grep -qa activeCodePage "$dir/dida.exe" || fail "the copy still asks for a code page"
else
  grep -qa activeCodePage "$dir/dida.exe" || fail "the program asks for no code page"
fi
# Two characters of the comment have GBK trail bytes that no other of these
# code pages reads back as the same bytes.
comment="常用的範例程序，個人用"
write_ini "$dir" "[param]" "Char=0" "PosX=400" "PosY=200" "Page1=工具箱" \
  "Exec1-1=C:\\nowhere\\missing.exe" "Comment1-1=$comment"

# Polls the launcher's dialog that takes input (up to 10 s) until its title
# is TITLE; leaves the dialog's lines in $dialog_text.
wait_for_dialog() {
  for _ in $(seq 1 50); do
    dialog_text=$(remote dialog 2>/dev/null | tr -d '\r' || true)
    [ "$(head -n 1 <<<"$dialog_text")" = "title $1" ] && return 0
    sleep 0.2
  done
  fail "no dialog titled $1 (last seen: $dialog_text)"
}
expect_line() {
  grep -qxF -- "$1" <<<"$dialog_text" || fail "$2: no line [$1] in: $dialog_text"
}

park_pointer
env LANG="$lang" LC_ALL="$lang" wine "$dir/dida.exe" </dev/null >/dev/null 2>&1 &
launcher_pid=$!
wait_for_window

remote command 32771  # Settings
wait_for_dialog "设置"
expect_line "1000 工具箱" "the name box"
expect_line "-1 此页的名称：" "the name label"

remote click 1003  # reset the page: asks first
wait_for_dialog "dida"
expect_line "65535 根据日志文件里记录的数据重新设置此页。\\n确定吗？" "the question"
remote click 2
wait_for_dialog "设置"

remote settext 1000 "新名字" || fail "the name box could not be set"
remote click 1
for _ in $(seq 1 50); do
  remote dialog >/dev/null 2>&1 || break
  sleep 0.2
done
exit_launcher

gbk_line() { printf '%s\r\n' "$1" | iconv -f UTF-8 -t GBK; }
grep -qaF -- "$(gbk_line "Page1=新名字")" "$dir/dida.ini" ||
  fail "the new name is not stored as GBK: $(od -c "$dir/dida.ini" | head -20)"
grep -qaF -- "$(gbk_line "Comment1-1=$comment")" "$dir/dida.ini" ||
  fail "the comment lost its bytes: $(od -c "$dir/dida.ini" | head -30)"
echo "PASS: codepage $lang $variant"
