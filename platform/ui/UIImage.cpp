#include "platform/ui/UIImage.h"

#include "platform/graphics/UIPainter.h"

#include <cstdlib>
#include <iostream>
#include <map>

#ifndef DAZED_DEFAULT_RESOURCE_DIR
#define DAZED_DEFAULT_RESOURCE_DIR "resources"
#endif

namespace dazed {

std::string resourceDirectory()
{
    if (const char* dir = std::getenv("DAZED_RESOURCE_DIR"); dir && *dir)
        return dir;
    return DAZED_DEFAULT_RESOURCE_DIR;
}

std::shared_ptr<UIImage> UIImage::imageWithContentsOfFile(const std::string& path)
{
    std::string error;
    auto image = Image::loadPNG(path, &error);
    if (!image) {
        std::cerr << "dazed: no picture from " << path << ": " << error << "\n";
        return nullptr;
    }
    return std::make_shared<UIImage>(std::move(image));
}

std::shared_ptr<UIImage> UIImage::imageNamed(const std::string& name)
{
    // A name that failed is remembered too, so that it is reported once.
    static std::map<std::string, std::shared_ptr<UIImage>> cache;
    const std::string path = resourceDirectory() + "/" + name;
    if (auto it = cache.find(path); it != cache.end())
        return it->second;
    const bool unsafe = name.empty() || name.find("..") != std::string::npos || name.front() == '/';
    auto image = unsafe ? nullptr : imageWithContentsOfFile(path);
    if (unsafe)
        std::cerr << "dazed: no picture named \"" << name << "\"\n";
    cache[path] = image;
    return image;
}

UIImageView::UIImageView(std::shared_ptr<UIImage> image)
    : UIView(CGRect{{}, image ? image->size() : CGSize{}})
    , m_image(std::move(image))
{
    setUserInteractionEnabled(false);
    setNeedsDisplay();
}

void UIImageView::drawContent(Image& target)
{
    if (m_image && m_image->image()) {
        UIPainter painter(target);
        painter.drawImage(*m_image->image(), bounds());
    }
}

} // namespace dazed
