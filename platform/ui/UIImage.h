#pragma once

// Pictures loaded by name from the resource folder, and the view that shows one.

#include "platform/graphics/Image.h"
#include "platform/ui/UIView.h"

#include <memory>
#include <string>

namespace dazed {

class UIImage {
public:
    // The PNG file `name` in the resource folder, or null when it is missing or unreadable (said
    // once on stderr). Loaded pictures are kept and shared.
    static std::shared_ptr<UIImage> imageNamed(const std::string& name);
    static std::shared_ptr<UIImage> imageWithContentsOfFile(const std::string& path);

    explicit UIImage(std::shared_ptr<Image> image)
        : m_image(std::move(image))
    {
    }
    [[nodiscard]] CGSize size() const { return m_image ? m_image->size() : CGSize{}; }
    [[nodiscard]] const std::shared_ptr<Image>& image() const { return m_image; }

private:
    std::shared_ptr<Image> m_image;
};

// The folder images are loaded from: $DAZED_RESOURCE_DIR, else the source tree's resources/.
std::string resourceDirectory();

class UIImageView : public UIView {
public:
    // Sized by the image (0 x 0 without one), at the origin.
    explicit UIImageView(std::shared_ptr<UIImage> image);
    [[nodiscard]] const std::shared_ptr<UIImage>& image() const { return m_image; }

protected:
    void drawContent(Image& target) override;

private:
    std::shared_ptr<UIImage> m_image;
};

} // namespace dazed
