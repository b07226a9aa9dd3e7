#include "workspace/working_folders.h"

#include "workspace/data_paths.h"
#include "workspace/folders.h"
#include "workspace/program_folder.h"

namespace vellumo {

void clearSessionFolders() {
    removeFolderTree(workingPath(paths::kStagingFolder));
    removeFolderTree(workingPath(paths::kUnusedFolder));
    removeFolderTree(workingPath(paths::kConvertedMusicFolder));
}

bool clearFoldersOnExit(const std::function<bool()>& goOn) {
    return removeFolderTreeWhile(workingPath(paths::kUnpackFolder), goOn) &&
           removeFolderTreeWhile(workingPath(paths::kStagingFolder), goOn);
}

}  // namespace vellumo
