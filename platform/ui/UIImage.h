#pragma once

// Pictures loaded by name from the resource folder, and the view that shows one.

#include "platform/graphics/image/Image.h"
#include "platform/ui/ResourceDirectory.h" // resourceDirectory(): the folder images are loaded from
#include "platform/ui/UIView.h"

#include <memory>
#include <string>

namespace dazed {

class UIImage {
public:
    // The PNG file `name` in the resource folder, or null when it is missing or unreadable (said
    // once on stderr). While the running display draws at two or more pixels per point, a
    // high-density "<stem>@2x.png" beside "<stem>.png" is preferred and loaded at scale 2, so that
    // its size in points is the plain file's; without one the plain file is used. Loaded pictures
    // are kept and shared.
    static std::shared_ptr<UIImage> imageNamed(const std::string& name);
    // The PNG file at `path`, drawn at `scale` pixels per point; null when it is missing or
    // unreadable (said on stderr).
    static std::shared_ptr<UIImage> imageWithContentsOfFile(const std::string& path, float scale = 1.0f);

    explicit UIImage(std::shared_ptr<Image> image)
        : m_image(std::move(image))
    {
    }
    // In points.
    [[nodiscard]] CGSize size() const { return m_image ? m_image->size() : CGSize{}; }
    // Pixels per point: 2 for a picture from an "@2x" file.
    [[nodiscard]] float scale() const { return m_image ? m_image->scale() : 1.0f; }
    [[nodiscard]] const std::shared_ptr<Image>& image() const { return m_image; }
    // The picture as drawn on a screen of `tint`: at night its night form, made once and kept.
    [[nodiscard]] const std::shared_ptr<Image>& image(ScreenTint tint) const;

private:
    std::shared_ptr<Image> m_image;
    mutable std::shared_ptr<Image> m_nightImage;
};

// The name of the high-density variant of a picture: "logo.png" gives "logo@2x.png".
std::string highDensityImageName(const std::string& name);

class UIImageView : public UIView {
public:
    // Sized by the image (0 x 0 without one), at the origin.
    explicit UIImageView(std::shared_ptr<UIImage> image);
    [[nodiscard]] const std::shared_ptr<UIImage>& image() const { return m_image; }

protected:
    [[nodiscard]] bool paintsContent() const override { return true; }
    void paintContent(UIPainter& painter) override;

private:
    std::shared_ptr<UIImage> m_image;
};

} // namespace dazed
