#pragma once

#include <string>
#include <string_view>

// Durable whole-file writes for data someone would miss: the bytes go to a
// temporary file beside `path`, which is flushed to the disk and then renamed
// over `path`, and the folder is flushed too. A crash or a full disk at any
// moment leaves either the old file or the new one, never a mix. On failure
// the old file is untouched, the temporary one removed, and `error` holds one
// line ("cannot write PATH: REASON").
[[nodiscard]] bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

// Renames `from` to `to` without replacing anything already at `to`; false
// (with `error` set) when `to` exists or the rename fails.
[[nodiscard]] bool renameWithoutReplacing(const std::string& from, const std::string& to, std::string& error);

// Renames `from` over `to` (replacing it) and flushes the folder.
[[nodiscard]] bool renameDurably(const std::string& from, const std::string& to, std::string& error);
