// The Export preview's choices: the words of its lists, which options apply and what a
// choice changes.
#include <algorithm>

#include "editor/ExportPreview.h"
#include "editor/ExportPreviewParts.h"
#include "formats/TargetText.h"

namespace stipple {

using namespace export_preview;

// ---- Choices ----

const ExportFormatRow& ExportPreview::format() const {
    return exportFormats()[formatRow_];
}

PixelView ExportPreview::source() const {
    return fromBox_ ? session_.selection().view() : session_.picture().view();
}

ExportSettings ExportPreview::settings() const {
    ExportSettings settings = settings_;
    settings.layout.align = checked(ExportOption::Align);
    settings.preview = checked(ExportOption::Preview);
    return settings;
}

bool ExportPreview::fontSource() const {
    return source_ == kBdfSource || source_ == kGfxSource;
}

bool ExportPreview::applies(ExportOption option) const {
    if (fontSource()) {
        // A font form has its own layout: only the source and the actions apply.
        return option == ExportOption::Source ||
               ((option == ExportOption::Copy || option == ExportOption::Save ||
                 option == ExportOption::Append) &&
                written_);
    }
    const ExportFormatRow& row = format();
    const bool device = row.family == FormatFamily::Device;
    const bool bin = row.id == ExportFormat::Bin;
    switch (option) {
        case ExportOption::Target:
        case ExportOption::Depth:
        case ExportOption::Order:
        case ExportOption::Scan:
        case ExportOption::Planes:
        case ExportOption::Levels:
        case ExportOption::Mask:
            return device;
        case ExportOption::Base:
        case ExportOption::Preview:
            return device && !bin;
        case ExportOption::Align:
            // The packed texts and the rows scan start rows on a byte; nothing else does.
            return row.id == ExportFormat::Asm1 || row.id == ExportFormat::Asm2 ||
                   row.id == ExportFormat::Asm4 || (device && settings_.layout.scan == Scan::Rows);
        case ExportOption::Copy:
            return written_ && !bin;
        case ExportOption::Save:
        case ExportOption::Append:
            return written_;
        default:
            return true;
    }
}

bool ExportPreview::checked(ExportOption tick) const {
    switch (tick) {
        case ExportOption::Align:
            return settings_.layout.align && applies(tick);
        case ExportOption::Mask:
            return settings_.layout.mask && applies(tick);
        case ExportOption::Preview:
            return settings_.preview && applies(tick);
        default:
            return false;
    }
}

std::optional<std::pair<std::string_view, std::string>> ExportPreview::shownTarget() const {
    // The target is the one the command line starts from, with the options it adds.
    ExportSettings device = settings_;
    device.layout.align = device.layout.align && device.layout.scan == Scan::Rows;
    // The syntax chosen decides between targets that name the same layout.
    const ExportFormat id =
        format().family == FormatFamily::Device ? format().id : ExportFormat::Gas;
    const std::vector<std::string> words = exportOptionWords(id, device);
    if (words.size() < 2 || words[0] != "--target") {
        return std::nullopt;
    }
    const std::string_view* target =
        std::find(std::begin(kTargetNames), std::end(kTargetNames), words[1]);
    // A switch ("--mask", "--align") reads "mask", "align"; "--mask no" reads "no mask".
    std::string added;
    for (std::size_t i = 2; i < words.size() && words[i] != "--syntax"; ++i) {
        const std::string key = words[i].substr(2);
        const bool valued = i + 1 < words.size() && !words[i + 1].starts_with("--");
        const std::string value = valued ? words[++i] : "yes";
        added += " + " + (value == "yes" ? key : value == "no" ? "no " + key : key + " " + value);
    }
    return std::pair(*target, added);
}

std::vector<std::string> ExportPreview::choices(ExportOption list) const {
    switch (list) {
        case ExportOption::Source:
            return strings(kSources);
        case ExportOption::Format: {
            std::vector<std::string> labels;
            for (const ExportFormatRow& row : exportFormats()) {
                labels.emplace_back(row.label);
            }
            return labels;
        }
        case ExportOption::Target: {
            std::vector<std::string> targets = {"custom"};
            targets.insert(targets.end(), std::begin(kTargetNames), std::end(kTargetNames));
            if (const auto shown = shownTarget()) {
                targets[static_cast<std::size_t>(choice(list))] += shown->second;
            }
            return targets;
        }
        case ExportOption::Base:
            return strings(baseWords());
        case ExportOption::DeviceColours:
            return strings(deviceColourWords());
        default:
            return strings(layoutWordChoices(keyOf(list)));
    }
}

int ExportPreview::choice(ExportOption list) const {
    switch (list) {
        case ExportOption::Source:
            return source_;
        case ExportOption::Format:
            return static_cast<int>(formatRow_);
        case ExportOption::Target: {
            const auto shown = shownTarget();
            return shown ? indexOf(kTargetNames, shown->first) + 1 : 0;
        }
        case ExportOption::DeviceColours:
            return static_cast<int>(deviceColours_);
        case ExportOption::Base: {
            const std::span<const std::string_view> bases = baseWords();
            const auto at = std::find_if(bases.begin(), bases.end(), [this](std::string_view w) {
                return baseNamed(w) == settings_.base;
            });
            return static_cast<int>(at - bases.begin());
        }
        default:
            return indexOf(layoutWordChoices(keyOf(list)),
                           layoutWord(settings_.layout, keyOf(list)));
    }
}

void ExportPreview::levelsFromLayout() {
    levelsText_ = layoutWord(settings_.layout, "levels");
    levelsProblem_.clear();
}

void ExportPreview::choose(ExportOption list, int item) {
    const std::vector<std::string> words = choices(list);
    if (item < 0 || item >= static_cast<int>(words.size())) {
        return;
    }
    const std::string& word = words[static_cast<std::size_t>(item)];
    ByteLayout& layout = settings_.layout;
    switch (list) {
        case ExportOption::Source:
            source_ = item;
            fromBox_ = item == kBoxSource;
            break;
        case ExportOption::Format:
            formatRow_ = static_cast<std::size_t>(item);
            break;
        case ExportOption::Target:
            if (item == 0) {
                tell(kChoices);  // "custom" alone changes nothing
                return;
            }
            layout = *layoutForTarget(kTargetNames[item - 1]);
            levelsFromLayout();
            // A target named after a library brings its syntax.
            if (const std::string_view syntax = syntaxOfTarget(kTargetNames[item - 1]);
                !syntax.empty()) {
                formatRow_ = static_cast<std::size_t>(
                    exportFormatNamed(syntax, FormatFamily::Device) - exportFormats().data());
            }
            break;
        case ExportOption::DeviceColours:
            deviceColours_ = static_cast<DeviceColours>(item);
            tell(kText);
            return;
        case ExportOption::Depth:
            if (word != layoutWord(layout, "depth")) {
                setLayoutWord(layout, "depth", word);
                layout.levels = defaultLevels(layout.depth);  // as stipple's --depth does
                levelsFromLayout();
            }
            break;
        case ExportOption::Base:
            settings_.base = *baseNamed(word);
            break;
        default:
            setLayoutWord(layout, keyOf(list), word);
    }
    settingsChanged();
}

bool ExportPreview::chooseFormatNamed(std::string_view commandName) {
    const std::span<const ExportFormatRow> all = exportFormats();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].commandName == commandName) {
            choose(ExportOption::Format, static_cast<int>(i));
            return true;
        }
    }
    return false;
}

void ExportPreview::check(ExportOption tick, bool on) {
    if (!applies(tick) || checked(tick) == on) {
        return;
    }
    if (tick == ExportOption::Align) {
        settings_.layout.align = on;
    } else if (tick == ExportOption::Mask) {
        settings_.layout.mask = on;
    } else if (tick == ExportOption::Preview) {
        settings_.preview = on;
    }
    settingsChanged();
}

void ExportPreview::typeLevels(const std::string& text) {
    levelsText_ = text;
    ByteLayout typed = settings_.layout;
    levelsProblem_ = setLayoutWord(typed, "levels", text);
    if (levelsProblem_.empty()) {
        // Only the codes against the depth: the planes have a say of their own.
        typed.planes = Planes::Packed;
        levelsProblem_ = layoutProblem(typed);
    }
    if (levelsProblem_.empty()) {
        settings_.layout.levels = typed.levels;
    }
    settingsChanged();
}

void ExportPreview::settingsChanged() {
    mapBytes();
    if (active_) {
        remake();
    } else {
        stale_ = true;
    }
    tell(kChoices | kText | kTrace);
}

}  // namespace stipple
