#include "framework/CmdTarget.h"

namespace {
const MessageEntry kNoEntries[] = {{0, 0, nullptr}};
}

const MessageMap CCmdTarget::kMessageMap = {nullptr, kNoEntries};

const MessageMap* CCmdTarget::GetMessageMap() const { return &kMessageMap; }

const MessageEntry* CCmdTarget::FindEntry(UINT message, UINT id) const {
  for (const MessageMap* map = GetMessageMap(); map; map = map->base) {
    for (const MessageEntry* e = map->entries; e->call; ++e) {
      if (e->message == message && (message != WM_COMMAND || e->id == id)) return e;
    }
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id) {
  const MessageEntry* entry = FindEntry(WM_COMMAND, id);
  if (!entry) return FALSE;
  entry->call(*this, 0, 0);
  return TRUE;
}
