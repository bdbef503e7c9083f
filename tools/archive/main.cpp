// dida-archive: packs files into the program's archive (NAME.idx + NAME.dat),
// lists, extracts and verifies one. Exit status: 0 success, 1 the operation
// failed or found damage, 2 bad usage.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/ArchiveWriter.h"

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

namespace {

const char kUsage[] =
    "usage: dida-archive COMMAND ...\n"
    "\n"
    "  pack OUT [--scramble 1[:SEED]|2] [--as NAME] INPUT...\n"
    "      Writes OUT.idx and OUT.dat. Each INPUT is a file (its entry name is\n"
    "      its base name) or a folder (its regular files, not recursive).\n"
    "      The data starts with \"[ARCHIVE]\" CR LF, indexed as _head.txt.\n"
    "      --scramble applies to the next INPUT: scheme 1 prepends 0x01 and a\n"
    "      seed byte (SEED 0-255, default derived from the name), scheme 2\n"
    "      prepends 0x02. --as names the entry of the next INPUT (a file).\n"
    "  list ARCHIVE\n"
    "      One line per entry: name, bucket, offset, length, scrambling.\n"
    "  extract ARCHIVE [-o DIR] [NAME...]\n"
    "      Writes all entries, or the named ones, into DIR (default: the current\n"
    "      folder), unscrambled as the program reads them.\n"
    "  verify ARCHIVE\n"
    "      Checks that every bucket and entry lies inside the index, that every\n"
    "      body lies inside the data and every entry sits in its name's bucket.\n"
    "\n"
    "ARCHIVE is the path without extension (OUT above); ARCHIVE.idx or\n"
    "ARCHIVE.dat are accepted too.\n"
    "Exit status: 0 success, 1 failure or damage found, 2 bad usage.\n";

int Usage(const char* problem) {
  std::fprintf(stderr, "dida-archive: %s (see dida-archive --help)\n", problem);
  return 2;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "dida-archive: %s\n", message.c_str());
  return 1;
}

// Names are bytes; show anything unprintable as \xNN so that a line stays one line.
std::string Printable(const unsigned char* name, std::size_t length) {
  std::string out;
  for (std::size_t i = 0; i < length; ++i) {
    unsigned char c = name[i];
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

std::string Printable(const std::string& name) {
  return Printable(reinterpret_cast<const unsigned char*>(name.data()), name.size());
}

bool ReadWholeFile(const fs::path& path, Bytes* out, std::string* error,
                   std::uintmax_t limit = 0xFFFFFFFFu) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    *error = path.string() + ": not a readable file";
    return false;
  }
  std::uintmax_t size = fs::file_size(path, ec);
  if (ec || size > limit) {
    *error = path.string() + (ec ? ": cannot read its size" : ": too large");
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  out->assign(static_cast<std::size_t>(size), 0);
  if (!in ||
      !in.read(reinterpret_cast<char*>(out->data()), static_cast<std::streamsize>(out->size()))) {
    *error = path.string() + ": read failed";
    return false;
  }
  return true;
}

// Writes beside the target first, so that a failed run never leaves half a file.
bool WriteWholeFile(const fs::path& path, const Bytes& bytes, std::string* error) {
  fs::path temp = path;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(reinterpret_cast<const char*>(bytes.data()),
                           static_cast<std::streamsize>(bytes.size()))) {
      *error = path.string() + ": cannot write";
      std::error_code ignored;
      fs::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, path, ec);
  if (ec) {
    *error = path.string() + ": " + ec.message();
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

std::string ArchiveBase(std::string path) {
  for (const char* ext : {".idx", ".dat"}) {
    std::size_t n = std::strlen(ext);
    if (path.size() > n && path.compare(path.size() - n, n, ext) == 0) {
      return path.substr(0, path.size() - n);
    }
  }
  return path;
}

struct Archive {
  Bytes index;
  Bytes data;
};

bool LoadArchive(const std::string& arg, Archive* archive, std::string* error) {
  std::string base = ArchiveBase(arg);
  if (!ReadWholeFile(base + ".idx", &archive->index, error, archive::kMaxIndexSize)) return false;
  if (archive->index.size() < archive::kFirstBucketOffset) {
    *error = base + ".idx: " + std::to_string(archive->index.size()) +
             " bytes, shorter than the bucket table (" +
             std::to_string(archive::kFirstBucketOffset) + ")";
    return false;
  }
  return ReadWholeFile(base + ".dat", &archive->data, error);
}

// ---- pack ----------------------------------------------------------------

struct PackInput {
  fs::path path;
  std::string name;  // entry name; empty: the file's base name
  int scheme = 0;
  int seed = -1;  // -1: derived from the name
};

unsigned char SeedFor(const std::string& name) {
  std::uint32_t h = 2166136261u;  // FNV-1a: stable across runs and machines
  for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return static_cast<unsigned char>(h);
}

bool AddFile(const PackInput& input, const fs::path& file, const std::string& name,
             std::vector<archive::PackEntry>* entries, std::string* error) {
  Bytes content;
  if (!ReadWholeFile(file, &content, error, 0x7FFFFFF0u)) return false;
  if (input.scheme == 0 && content.empty()) {
    *error = file.string() + ": empty; the program reads an empty entry as missing";
    return false;
  }
  if (input.scheme == 0 && (content[0] == 0x01 || content[0] == 0x02)) {
    *error = file.string() + ": begins with byte 0x0" + std::to_string(content[0]) +
             ", which the program takes for a scrambling marker; it would not read back as packed";
    return false;
  }
  unsigned char seed = input.seed >= 0 ? static_cast<unsigned char>(input.seed) : SeedFor(name);
  entries->push_back({name, archive::ScrambleBody(input.scheme, seed, content)});
  return true;
}

bool ParseScheme(const std::string& text, PackInput* input) {
  std::size_t colon = text.find(':');
  std::string scheme = text.substr(0, colon);
  if (scheme == "1") {
    input->scheme = 1;
  } else if (scheme == "2" && colon == std::string::npos) {
    input->scheme = 2;
    return true;
  } else {
    return false;
  }
  if (colon == std::string::npos) return true;
  std::string seed = text.substr(colon + 1);
  if (seed.empty() || seed.size() > 4) return false;
  char* end = nullptr;
  long value = std::strtol(seed.c_str(), &end, 0);
  if (*end != '\0' || value < 0 || value > 255) return false;
  input->seed = static_cast<int>(value);
  return true;
}

int Pack(int argc, char** argv) {
  if (argc < 1) return Usage("pack needs OUT and at least one INPUT");
  std::string out = ArchiveBase(argv[0]);
  std::vector<PackInput> inputs;
  PackInput next;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--scramble" || arg == "--as") {
      if (i + 1 >= argc) return Usage((arg + " needs a value").c_str());
      std::string value = argv[++i];
      if (arg == "--as") {
        if (value.empty()) return Usage("--as needs a non-empty name");
        next.name = value;
      } else if (!ParseScheme(value, &next)) {
        return Usage(("--scramble takes 1, 1:SEED (0-255) or 2, not '" + value + "'").c_str());
      }
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
      return Usage(("unknown option " + arg).c_str());
    }
    next.path = arg;
    inputs.push_back(next);
    next = PackInput();
  }
  if (inputs.empty()) return Usage("pack needs at least one INPUT");
  if (!next.name.empty() || next.scheme != 0) return Usage("an option is not followed by INPUT");

  std::vector<archive::PackEntry> entries;
  std::string error;
  for (const PackInput& input : inputs) {
    std::error_code ec;
    if (fs::is_directory(input.path, ec)) {
      if (!input.name.empty()) return Usage("--as names a file, not a folder");
      std::vector<fs::path> files;
      for (const fs::directory_entry& e : fs::directory_iterator(input.path, ec)) {
        if (e.is_regular_file(ec)) files.push_back(e.path());
      }
      if (ec) return Fail(input.path.string() + ": " + ec.message());
      std::sort(files.begin(), files.end());
      for (const fs::path& f : files) {
        if (!AddFile(input, f, f.filename().string(), &entries, &error)) return Fail(error);
      }
    } else {
      std::string name = input.name.empty() ? input.path.filename().string() : input.name;
      if (!AddFile(input, input.path, name, &entries, &error)) return Fail(error);
    }
  }

  std::set<std::string> seen{archive::kHeadName};
  for (const archive::PackEntry& e : entries) {
    if (!seen.insert(e.name).second) {
      return Fail("two entries named '" + Printable(e.name) + "' (" + archive::kHeadName +
                  " is the data header's own)");
    }
  }
  archive::PackedArchive packed;
  if (!archive::BuildArchive(entries, &packed, &error)) return Fail(error);
  fs::path parent = fs::path(out).parent_path();
  std::error_code ec;
  if (!parent.empty()) fs::create_directories(parent, ec);
  if (!WriteWholeFile(out + ".idx", packed.index, &error) ||
      !WriteWholeFile(out + ".dat", packed.data, &error)) {
    return Fail(error);
  }
  std::printf("%s.idx: %zu bytes, %s.dat: %zu bytes, %zu entries\n", out.c_str(),
              packed.index.size(), out.c_str(), packed.data.size(), entries.size() + 1);
  return 0;
}

// ---- list, extract, verify -----------------------------------------------

const char* SchemeOf(const archive::EntryView& e, const Bytes& data) {
  if (!archive::BodyInside(e, data.size())) return "damaged";
  switch (data[e.dataOffset]) {
    case 0x01:
      return "scheme1";
    case 0x02:
      return "scheme2";
    default:
      return "plain";
  }
}

int List(int argc, char** argv) {
  if (argc != 1) return Usage("list takes one ARCHIVE");
  Archive a;
  std::string error;
  if (!LoadArchive(argv[0], &a, &error)) return Fail(error);
  bool damaged = false;
  std::printf("%-24s %-6s %10s %10s %s\n", "name", "bucket", "offset", "length", "scrambling");
  for (unsigned b = 0; b < archive::kBucketCount; ++b) {
    archive::BucketCursor c;
    archive::EntryView e;
    if (archive::OpenBucket(a.index.data(), a.index.size(), b, &c)) {
      while (archive::NextEntry(&c, &e)) {
        std::printf("%-24s 0x%02X   %10u %10d %s\n", Printable(e.name, e.nameLength).c_str(), b,
                    e.dataOffset, e.dataLength, SchemeOf(e, a.data));
        if (!archive::BodyInside(e, a.data.size())) damaged = true;
        if (e.nameLength == 0 || archive::BucketOf(e.name[0]) != b) {
          std::fprintf(stderr, "dida-archive: %s: in the wrong bucket, never found\n",
                       Printable(e.name, e.nameLength).c_str());
          damaged = true;
        }
      }
    }
    if (c.problem != archive::IndexProblem::kNone) {
      std::fprintf(stderr, "dida-archive: bucket 0x%02X: %s\n", b,
                   archive::DescribeProblem(c.problem));
      damaged = true;
    }
  }
  return damaged ? 1 : 0;
}

// A name becomes a file name only when it cannot leave the output folder.
bool SafeFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string::npos && name.find('\0') == std::string::npos;
}

int Extract(int argc, char** argv) {
  if (argc < 1) return Usage("extract needs ARCHIVE");
  std::string base = argv[0];
  fs::path dir = ".";
  std::vector<std::string> wanted;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "-o") {
      if (i + 1 >= argc) return Usage("-o needs a folder");
      dir = argv[++i];
    } else {
      wanted.push_back(arg);
    }
  }
  Archive a;
  std::string error;
  if (!LoadArchive(base, &a, &error)) return Fail(error);
  bool all = wanted.empty();
  bool damaged = false;
  if (all) {
    // Every name once, in index order; a second entry of a name is never read.
    std::set<std::string> seen;
    for (unsigned b = 0; b < archive::kBucketCount; ++b) {
      archive::BucketCursor c;
      archive::EntryView e;
      archive::OpenBucket(a.index.data(), a.index.size(), b, &c);
      while (archive::NextEntry(&c, &e)) {
        std::string name(reinterpret_cast<const char*>(e.name), e.nameLength);
        if (seen.insert(name).second) wanted.push_back(name);
      }
      if (c.problem != archive::IndexProblem::kNone) {
        std::fprintf(stderr, "dida-archive: bucket 0x%02X: %s\n", b,
                     archive::DescribeProblem(c.problem));
        damaged = true;
      }
    }
  }
  std::error_code ec;
  fs::create_directories(dir, ec);
  int failures = 0;
  for (const std::string& name : wanted) {
    if (!SafeFileName(name)) {
      std::fprintf(stderr, "dida-archive: %s: not a safe file name, skipped\n",
                   Printable(name).c_str());
      ++failures;
      continue;
    }
    int length = 0;
    unsigned char* body = archive::CopyEntry(a.index.data(), a.index.size(), a.data.data(),
                                             a.data.size(), name.c_str(), &length);
    if (!body) {
      std::fprintf(stderr, "dida-archive: %s: not found (or its entry is damaged)\n",
                   Printable(name).c_str());
      ++failures;
      continue;
    }
    Bytes bytes(body, body + length);
    std::free(body);
    if (!WriteWholeFile(dir / name, bytes, &error)) {
      std::fprintf(stderr, "dida-archive: %s\n", error.c_str());
      ++failures;
    }
  }
  return (failures || damaged) ? 1 : 0;
}

int Verify(int argc, char** argv) {
  if (argc != 1) return Usage("verify takes one ARCHIVE");
  Archive a;
  std::string error;
  if (!LoadArchive(argv[0], &a, &error)) return Fail(error);
  int problems = 0;
  auto report = [&problems](const std::string& text) {
    std::printf("%s\n", text.c_str());
    ++problems;
  };
  if (std::memcmp(a.index.data(), "ARC2", 4) != 0) report("index: magic is not ARC2");
  std::size_t entries = 0;
  std::set<std::string> seen;
  for (unsigned b = 0; b < archive::kBucketCount; ++b) {
    char where[16];
    std::snprintf(where, sizeof where, "bucket 0x%02X", b);
    archive::BucketCursor c;
    archive::EntryView e;
    archive::OpenBucket(a.index.data(), a.index.size(), b, &c);
    while (archive::NextEntry(&c, &e)) {
      ++entries;
      std::string name = Printable(e.name, e.nameLength);
      std::string at =
          std::string(where) + ", entry '" + name + "' at " + std::to_string(e.position) + ": ";
      if (e.nameLength == 0) {
        report(at + "empty name, never found");
      } else if (archive::BucketOf(e.name[0]) != b) {
        report(at + "belongs in bucket " + std::to_string(archive::BucketOf(e.name[0])) +
               ", never found here");
      }
      if (e.dataLength <= 0) {
        report(at + "length " + std::to_string(e.dataLength) + ", read as missing");
      } else if (!archive::BodyInside(e, a.data.size())) {
        report(at + "body " + std::to_string(e.dataOffset) + "+" + std::to_string(e.dataLength) +
               " runs past the end of the data (" + std::to_string(a.data.size()) + " bytes)");
      }
      if (!seen.insert(std::string(reinterpret_cast<const char*>(e.name), e.nameLength)).second) {
        report(at + "a second entry of this name, never found");
      }
    }
    if (c.problem != archive::IndexProblem::kNone) {
      report(std::string(where) + ": " + archive::DescribeProblem(c.problem) +
             (c.next ? " (at " + std::to_string(c.next) + ")" : std::string()));
    }
  }
  if (problems) {
    std::printf("%d problem(s) in %zu entries\n", problems, entries);
    return 1;
  }
  std::printf("ok: %zu entries, index %zu bytes, data %zu bytes\n", entries, a.index.size(),
              a.data.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage("no command");
  std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  try {
    if (command == "pack") return Pack(argc - 2, argv + 2);
    if (command == "list") return List(argc - 2, argv + 2);
    if (command == "extract") return Extract(argc - 2, argv + 2);
    if (command == "verify") return Verify(argc - 2, argv + 2);
  } catch (const std::exception& e) {
    // Out of memory or a file system error: say so rather than abort.
    return Fail(e.what());
  }
  return Usage(("unknown command '" + command + "'").c_str());
}
