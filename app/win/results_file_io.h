#pragma once
// File steps shared by the results list and its side files.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/handles.h"
#include "platform/retry.h"

namespace app {

std::uint64_t FileSize(HANDLE file);
bool SeekTo(HANDLE file, std::uint64_t offset);
// Writes text at offset size in one write; a write cut short is undone.
bool WriteAtEnd(HANDLE file, std::uint64_t size, const std::string& text);
// Opens (or creates) the file to append, sharing reading only; tries again while another program
// holds it, within the policy's time. locked tells whether the last try met such a hold.
framework::FileHandle OpenShared(const std::u16string& path, const platform::RetryPolicy& policy, bool* locked);
// The rows of a side file of ours; none for a file that is missing, locked or not ours.
std::vector<std::string> ReadKeptRows(const std::u16string& path);

}  // namespace app
