#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/image/RegisterImage.h"

namespace orvane {

// What replaced the whole image, for the note beside the undo.
enum class ImageReplacement {
    Template,    // "Reload Template"
    File,        // a configuration file opened
    RefusedFile, // the default template instead of a file that was refused
    Controller,  // a configuration read from the controller
};

// Where the copy the image was last found equal to lives.
enum class ImageOrigin {
    Template,        // the built-in template, at start-up
    OpenedFile,      // a file opened
    SavedFile,       // a file saved
    ReadController,  // read from the controller
    WrittenToDevice, // downloaded to the controller
};

// Told of every replacement of the whole image, before it happens, and of every moment the
// image equals a copy kept elsewhere (the controller, a file).
class IImageHistory {
public:
    virtual ~IImageHistory() = default;
    // `image` still holds what is about to be replaced.
    virtual void BeforeReplace(const RegisterImage& image, ImageReplacement replacement,
                               const std::string& path) = 0;
    // `path` names the file for the file origins.
    virtual void MarkClean(const RegisterImage& image, ImageOrigin origin,
                           const std::string& path) = 0;
};

// The window's image against its last clean copy, and one step of undo: the image as it was
// before the last replacement, with the clean copy it had then.
class ImageHistory final : public IImageHistory {
public:
    void BeforeReplace(const RegisterImage& image, ImageReplacement replacement,
                       const std::string& path) override;
    void MarkClean(const RegisterImage& image, ImageOrigin origin,
                   const std::string& path) override;

    // A register differs from the last copy read, opened, saved or downloaded.
    bool HasUnsavedChanges(const RegisterImage& image) const;
    ImageOrigin Origin() const { return m_clean.origin; }
    // The file of a file origin; empty otherwise.
    const std::string& OriginPath() const { return m_clean.path; }
    // Where the window's configuration is from: "File: " and the file's name, "Read from the
    // controller" or "Written to the controller"; empty for the template of start-up.
    std::string OriginText() const;

    bool CanUndo() const { return m_undo.has_value(); }
    // What the undo takes back, e.g. "Replaced by Reload Template"; empty with nothing to undo.
    std::string UndoNote() const;
    // Brings back the image and the clean copy of before the last replacement; the step is
    // used up. False, with the image untouched, when there is nothing to undo.
    bool Undo(RegisterImage& image);

    // Called after every change of what this reports.
    void SetOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

private:
    struct Clean {
        RegisterTexts texts{};
        ImageOrigin origin = ImageOrigin::Template;
        std::string path;
    };
    struct Step {
        RegisterTexts texts;
        Clean clean;
        ImageReplacement replacement;
        std::string path;
    };
    void Changed() const;

    Clean m_clean;
    std::optional<Step> m_undo;
    std::function<void()> m_onChange;
};

// The last part of a path: the file's own name.
std::string FileNameOf(const std::string& path);

} // namespace orvane
