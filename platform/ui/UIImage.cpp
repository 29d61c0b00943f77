#include "platform/ui/UIImage.h"

#include "platform/graphics/image/NightPicture.h"
#include "platform/graphics/painter/UIPainter.h"
#include "platform/ui/Host.h"
#include "platform/ui/UIApplication.h"

#include <filesystem>
#include <map>
#include <utility>

namespace dazed {

namespace {

// Pixels per point of the display the application draws on; 1 while no application runs.
float runningDisplayScale()
{
    const Host* host = UIApplication::sharedApplication().host();
    return host ? host->displayScale() : 1.0f;
}

// The picture at `path`, or null after reporting why there is none (UIApplication::report).
std::shared_ptr<UIImage> loadReporting(const std::string& path, float scale)
{
    auto image = Image::loadPNG(path, scale);
    if (!image) {
        UIApplication::sharedApplication().report(
            failure("no picture from " + path + ": " + image.error().message));
        return nullptr;
    }
    return std::make_shared<UIImage>(std::move(image).value());
}

} // namespace

std::string highDensityImageName(const std::string& name)
{
    const std::size_t slash = name.rfind('/');
    const std::size_t baseStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = name.rfind('.');
    // A dot that starts the file name (".png") begins no extension.
    if (dot == std::string::npos || dot <= baseStart)
        return name + "@2x";
    return name.substr(0, dot) + "@2x" + name.substr(dot);
}

const std::shared_ptr<Image>& UIImage::image(ScreenTint tint) const
{
    if (tint == ScreenTint::Day || !m_image)
        return m_image;
    if (!m_nightImage)
        m_nightImage = nightCopy(*m_image);
    return m_nightImage;
}

std::shared_ptr<UIImage> UIImage::imageWithContentsOfFile(const std::string& path, float scale)
{
    return loadReporting(path, scale);
}

std::shared_ptr<UIImage> UIImage::imageNamed(const std::string& name)
{
    // Keyed by the plain file's path and whether the high-density variant is wanted, so that after
    // a change of display scale the picture for the new scale is found. A name that failed is
    // remembered too, and each failure is reported once whatever the scale.
    static std::map<std::pair<std::string, bool>, std::shared_ptr<UIImage>> cache;
    const std::string directory = resourceDirectory();
    const std::string path = directory + "/" + name;
    const bool unsafe = name.empty() || name.find("..") != std::string::npos || name.front() == '/';

    const auto plainImage = [&]() -> std::shared_ptr<UIImage> {
        if (auto it = cache.find({path, false}); it != cache.end())
            return it->second;
        std::shared_ptr<UIImage> image;
        if (unsafe)
            UIApplication::sharedApplication().report(failure("no picture named \"" + name + "\""));
        else
            image = loadReporting(path, 1.0f);
        cache[{path, false}] = image;
        return image;
    };

    if (runningDisplayScale() < 2.0f)
        return plainImage();
    if (auto it = cache.find({path, true}); it != cache.end())
        return it->second;
    std::shared_ptr<UIImage> image;
    if (!unsafe) {
        // Only a file that is there is tried: a picture without a high-density variant is normal.
        const std::string denserPath = directory + "/" + highDensityImageName(name);
        if (std::filesystem::is_regular_file(denserPath))
            image = loadReporting(denserPath, 2.0f);
    }
    if (!image)
        image = plainImage();
    cache[{path, true}] = image;
    return image;
}

UIImageView::UIImageView(std::shared_ptr<UIImage> image)
    : UIView(CGRect{{}, image ? image->size() : CGSize{}})
    , m_image(std::move(image))
{
    setUserInteractionEnabled(false);
    setNeedsDisplay();
}

void UIImageView::paintContent(UIPainter& painter)
{
    if (m_image && m_image->image())
        painter.drawImage(*m_image->image(painter.tint()), bounds());
}

} // namespace dazed
