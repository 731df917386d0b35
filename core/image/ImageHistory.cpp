#include "core/image/ImageHistory.h"

#include <algorithm>

namespace orvane {

void ImageHistory::BeforeReplace(const RegisterImage& image, ImageReplacement replacement,
                                 const std::string& path) {
    m_undo = Step{image.Texts(), m_clean, replacement, path};
    Changed();
}

void ImageHistory::MarkClean(const RegisterImage& image, ImageOrigin origin,
                             const std::string& path) {
    m_clean = Clean{image.Texts(), origin, path};
    Changed();
}

bool ImageHistory::HasUnsavedChanges(const RegisterImage& image) const {
    // The checksum entry only follows the registers: it is computed again whenever it is sent.
    const RegisterTexts& now = image.Texts();
    return !std::equal(now.begin(), now.begin() + kRegisterCount, m_clean.texts.begin());
}

std::string ImageHistory::OriginText() const {
    switch (m_clean.origin) {
    case ImageOrigin::Template:
        return {};
    case ImageOrigin::OpenedFile:
    case ImageOrigin::SavedFile:
        return "File: " + FileNameOf(m_clean.path);
    case ImageOrigin::ReadController:
        return "Read from the controller";
    case ImageOrigin::WrittenToDevice:
        return "Written to the controller";
    }
    return {};
}

std::string ImageHistory::UndoNote() const {
    if (!m_undo) {
        return {};
    }
    switch (m_undo->replacement) {
    case ImageReplacement::Template:
        return "Replaced by Reload Template";
    case ImageReplacement::File:
        return "Replaced by the file " + FileNameOf(m_undo->path);
    case ImageReplacement::RefusedFile:
        return "Replaced by the default template (" + FileNameOf(m_undo->path) + " refused)";
    case ImageReplacement::Controller:
        return "Replaced by the read from the controller";
    }
    return {};
}

bool ImageHistory::Undo(RegisterImage& image) {
    if (!m_undo) {
        return false;
    }
    image.SetTexts(m_undo->texts);
    m_clean = std::move(m_undo->clean);
    m_undo.reset();
    Changed();
    return true;
}

void ImageHistory::Changed() const {
    if (m_onChange) {
        m_onChange();
    }
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace orvane
