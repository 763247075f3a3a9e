// New, Open and Save Picture, and saving the selection as a picture file of its own.
#include <optional>
#include <string>
#include <vector>

#include "app/Editor.h"
#include "export/ExportCommands.h"
#include "export/ExportFiles.h"
#include "files/PictureFile.h"
#include "files/Windows1252.h"

namespace stipple {

namespace {

// The name as the file stores it, or nothing after telling the user why it cannot be.
std::optional<std::string> storableName(Host& host, const std::string& name) {
    std::string problem;
    const Windows1252Text converted = toWindows1252(name);
    if (!converted) {
        problem = "The name \"" + name +
                  "\" cannot be saved in a picture file: " + converted.problem + ".";
    } else if (converted.bytes.find('\0') != std::string::npos) {
        problem = "The name cannot be saved in a picture file: it holds a zero character.";
    } else if (converted.bytes.size() > static_cast<std::size_t>(kMaxPictureNameLength)) {
        problem = "The name cannot be saved in a picture file: it is longer than " +
                  std::to_string(kMaxPictureNameLength) + " characters.";
    }
    if (!problem.empty()) {
        host.showMessage(problem, kExportMessageCaption);
        return std::nullopt;
    }
    return converted.bytes;
}

// Cells of a grid addressed [x][y] from 1 (pixels or selBuffer), row by row.
template <int Rows>
std::vector<Pixel> cellsRowByRow(const Pixel (*grid)[Rows], int width, int height) {
    std::vector<Pixel> cells;
    cells.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 1; y <= height; ++y) {
        for (int x = 1; x <= width; ++x) {
            cells.push_back(grid[x][y]);
        }
    }
    return cells;
}

// Asks where to save a picture under `name` and writes it there; every refusal and
// failure is told to the user.
template <int Rows>
void savePictureAs(Host& host, std::int32_t version, const std::string& name,
                   const Pixel (*grid)[Rows], int width, int height) {
    const std::optional<std::string> nameBytes = storableName(host, name);
    if (!nameBytes) {
        return;
    }
    const std::optional<std::string> path = host.askSavePictureFile(name);
    if (!path) {
        return;
    }
    const PictureFileContent content{version, *nameBytes, width, height,
                                     cellsRowByRow(grid, width, height)};
    if (const FileResult saved = replaceFile(*path, encodePictureFile(content)); !saved) {
        host.showMessage(saved.error, kExportMessageCaption);
    }
}

}  // namespace

void Editor::NewPicture1Click() {
    int width = pictureWidth;
    int height = pictureHeight;
    if (!host().askPictureSize(width, height)) {
        return;
    }
    pictureHeight = height;
    pictureWidth = width;
    redrawSurface();
    clearPicture();
}

void Editor::OpenPicture1Click() {
    const std::optional<std::string> path = host().askOpenPictureFile();
    if (!path) {
        return;
    }
    std::string bytes;
    if (const FileResult opened = readFileStart(*path, kMaxPictureFileBytes, bytes); !opened) {
        host().showMessage(opened.error, kExportMessageCaption);
        return;
    }
    // The whole file is checked before anything of the picture changes.
    const PictureFileReading reading = parsePictureFile(bytes);
    if (!reading.error.empty()) {
        host().showMessage("Could not open \"" + *path + "\": " + reading.error + ".",
                           kExportMessageCaption);
        return;
    }
    const PictureFileContent& picture = reading.content;
    host().setPictureName(fromWindows1252(picture.nameBytes));
    pictureWidth = picture.width;
    pictureHeight = picture.height;
    for (std::size_t i = 0; i < picture.cells.size(); ++i) {
        const int x = static_cast<int>(i) % picture.width + 1;
        const int y = static_cast<int>(i) / picture.width + 1;
        pixels[x][y] = picture.cells[i];
    }
    redrawSurface();
    if (reading.cellsEndedEarly) {
        host().showMessage("The picture file \"" + *path + "\" is incomplete: it ends after " +
                               std::to_string(picture.cells.size()) + " of its " +
                               std::to_string(picture.width * picture.height) +
                               " pixels. The pixels that are missing keep their old values.",
                           kExportMessageCaption);
    }
}

void Editor::Savepicture1Click() {
    savePictureAs(host(), fileVersion, host().pictureName(), pixels, pictureWidth, pictureHeight);
}

void Editor::SaveButtonClick() {
    const std::string name = host().pictureName();
    if (!bufferFilled || !boxFitsAPicture("saving it")) {
        return;
    }
    if (const std::optional<std::string> chosen = host().askSaveSelectName(name)) {
        saveSelection(*chosen);
    }
}

void Editor::saveSelection(const std::string& name) {
    // A picture file that Open Picture would refuse is never written.
    if (!bufferFilled || !boxFitsAPicture("saving it")) {
        return;
    }
    takeUndoSnapshot();
    savePictureAs(host(), fileVersion, name, selBuffer, selWidth, selHeight);
}

}  // namespace stipple
