#pragma once
// While a file is rewritten in place, a complete copy of its old content is kept on the
// disk, named after the file's device and inode, which every name of the file shares and a
// rewrite in place keeps: ".stipple-kept-DEV-INO" next to the file, or "kept-DEV-INO" in the
// user's state folder. A file with other links, which may lie in other folders, keeps it in
// the state folder first; a folder that takes no new file sends it there too. It goes once
// the new content is on the disk, so a copy that is still there (and that no running save
// holds) was left by a save that was killed.

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "io/NewFile.h"

namespace stipple::io {

class KeptCopy {
  public:
    // Writes the copy of `oldContent` for the file at `realPath` with status `file`, and
    // holds it; 0 or the errno of the last place tried.
    int keep(const std::string& realPath, const struct stat& file, std::string_view oldContent);
    const std::string& path() const { return path_; }
    // The new content is on the disk: the copy is no longer needed.
    void remove();

  private:
    int keepIn(const std::string& folder, const std::string& base, const struct stat& file,
               std::string_view oldContent);

    NewFile file_;
    std::string path_;
};

// The line that tells where copies left by killed saves of the file at `path` (with status
// `file`, reached through any of its names) lie; empty when there are none. Copies named
// after the file, as earlier versions kept them, are told too.
std::string keptCopyNotice(const std::string& path, const struct stat& file);

}  // namespace stipple::io
