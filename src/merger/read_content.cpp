#include "merger/read_content.h"

#include <algorithm>

#include "archive/chd_transfer.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace kestrel {

const std::optional<ZipEntryList>& ListZip(MergeRun& run, const std::string& zipPath) {
  auto known = run.zipListings.find(zipPath);
  if (known != run.zipListings.end()) return known->second;
  std::optional<ZipEntryList> listing;
  ZipEntryList entries;
  ZipProblem problem;
  if (ReadZipDirectory(run.fs, zipPath, entries, false, &problem, run.zipLibrary.headerCheck)) listing = std::move(entries);
  run.zipProblems.Tell(run.ui, problem);
  return run.zipListings.emplace(zipPath, std::move(listing)).first->second;
}

std::optional<Content> LooseFileContent(MergeRun& run, const std::string& path) {
  auto known = run.looseContents.find(path);
  if (known != run.looseContents.end()) return known->second;
  std::optional<Content> content;
  uint32_t size = 0, crc = 0;
  run.Pump();
  if (ReadFileCrc(run.fs, path, size, crc)) content = Content{size, crc};
  return run.looseContents.emplace(path, content).first->second;
}

std::vector<std::string> FolderFiles(MergeRun& run, const std::string& folder) {
  std::vector<std::string> files;
  std::string spelled = WithTrailingSeparator(folder);
  for (const FolderEntry& entry : run.fs.ListFolder(spelled))
    if (!entry.isFolder) files.push_back(spelled + entry.name);
  return files;
}

std::vector<std::string> SetFolderFiles(MergeRun& run, const std::string& folder) {
  std::vector<std::string> files = FolderFiles(run, folder);
  std::erase_if(files, [](const std::string& file) { return HasChdExtension(FileNamePart(file)); });
  return files;
}

ContentSet ContentOfSets(MergeRun& run, const std::vector<std::string>& names, std::vector<std::string>* unreadable) {
  ContentSet content;
  auto noteUnreadable = [&](const std::string& path) {
    if (unreadable != nullptr && std::find(unreadable->begin(), unreadable->end(), path) == unreadable->end())
      unreadable->push_back(path);
  };
  for (const std::string& name : names) {
    for (const std::string& romPath : run.romPaths) {
      if (std::optional<std::string> zip = run.sets.FindZip(romPath, name)) {
        if (const std::optional<ZipEntryList>& members = ListZip(run, *zip))
          for (const ZipEntry& member : *members) content.insert(ContentOf(member));
        else
          noteUnreadable(*zip);
      }
      if (std::optional<std::string> folder = run.sets.FindFolder(romPath, name)) {
        for (const std::string& file : SetFolderFiles(run, *folder))
          if (std::optional<Content> found = LooseFileContent(run, file))
            content.insert(*found);
          else
            noteUnreadable(file);
      }
    }
  }
  return content;
}

}  // namespace kestrel
