// SPDX-License-Identifier: MIT
#include "settings/PublishedFiles.h"

#include <charconv>

namespace quorvella {
namespace {

// Each file is one string of the multi-string value: "ID<TAB>size<TAB>mtime<TAB>name",
// the name last since it may hold anything but a NUL.
template <typename Number>
bool ReadNumber(std::string_view& text, Number& number) {
  const auto tab = text.find('\t');
  if (tab == std::string_view::npos) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + tab, number);
  if (error != std::errc() || end != text.data() + tab) return false;
  text.remove_prefix(tab + 1);
  return true;
}

}  // namespace

std::vector<PublishedFile> LoadPublishedFiles(RegistryBackend& store, std::string_view folder) {
  std::vector<PublishedFile> files;
  const auto value = store.QueryValue(Hive::CurrentUser, PublishedFilesKey, folder);
  if (!value || value->type != regtype::kMultiSz) return files;
  const std::string data(value->data.begin(), value->data.end());
  std::size_t start = 0;
  while (start < data.size()) {
    const std::size_t end = data.find('\0', start);
    std::string_view entry(data.data() + start,
                           (end == std::string::npos ? data.size() : end) - start);
    start = end == std::string::npos ? data.size() : end + 1;
    PublishedFile file;
    if (ReadNumber(entry, file.playlistId) && ReadNumber(entry, file.size) &&
        ReadNumber(entry, file.mtimeNs) && !entry.empty()) {
      file.name = entry;
      files.push_back(std::move(file));
    }
  }
  return files;
}

bool SavePublishedFiles(RegistryBackend& store, std::string_view folder,
                        const std::vector<PublishedFile>& files) {
  std::string text;
  for (const PublishedFile& file : files) {
    text += std::to_string(file.playlistId) + '\t' + std::to_string(file.size) + '\t' +
            std::to_string(file.mtimeNs) + '\t' + file.name;
    text += '\0';
  }
  // A multi-string ends with an empty string.
  return store.SetValue(Hive::CurrentUser, PublishedFilesKey, folder,
                        RegValue::String(text, regtype::kMultiSz));
}

void ForgetPublishedFile(std::vector<PublishedFile>& record, std::string_view name) {
  std::erase_if(record, [&](const PublishedFile& file) { return file.name == name; });
}

}  // namespace quorvella
