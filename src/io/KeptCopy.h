#pragma once
// While a file is rewritten in place, a complete copy of its old content is kept on the
// disk: next to the file as ".NAME.before-save", or, where that folder takes no new file, in
// the user's state folder. It goes once the new content is on the disk, so a copy that is
// still there (and that no running save holds) was left by a save that was killed.

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
// `file`) lie; empty when there are none.
std::string keptCopyNotice(const std::string& path, const struct stat& file);

}  // namespace stipple::io
