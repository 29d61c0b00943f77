#pragma once

#include "platform/ui/UIColor.h"
#include "platform/ui/UIControl.h"
#include "platform/ui/UIFont.h"
#include "platform/ui/UIImage.h"

#include <map>
#include <memory>
#include <string>

namespace dazed {

enum UIButtonType : int {
    UIButtonTypeCustom = 0,      // draws only what it is given: title, images, background colour
    UIButtonTypeRoundedRect = 1, // a white rounded rectangle with a blue title
    UIButtonTypeInfoLight = 3,   // a small light "i" in a circle
    UIButtonTypeInfoDark = 4,
};

class UIButton : public UIControl {
public:
    static std::shared_ptr<UIButton> buttonWithType(UIButtonType type);
    explicit UIButton(UIButtonType type = UIButtonTypeCustom, CGRect frame = {});

    [[nodiscard]] UIButtonType buttonType() const { return m_type; }
    // Per state; a state without its own value uses the normal state's.
    void setTitle(const std::string& title, UIControlState state);
    void setTitleColor(UIColor color, UIControlState state);
    void setBackgroundImage(std::shared_ptr<UIImage> image, UIControlState state);
    void setImage(std::shared_ptr<UIImage> image, UIControlState state);
    [[nodiscard]] std::string titleForState(UIControlState state) const;
    [[nodiscard]] UIColor titleColorForState(UIControlState state) const;
    [[nodiscard]] std::shared_ptr<UIImage> backgroundImageForState(UIControlState state) const;
    [[nodiscard]] std::shared_ptr<UIImage> imageForState(UIControlState state) const;
    void setFont(UIFont font);

protected:
    [[nodiscard]] bool paintsContent() const override { return true; }
    void paintContent(UIPainter& painter) override;

private:
    template <class T> static const T* lookup(const std::map<unsigned, T>& map, unsigned state);

    UIButtonType m_type;
    std::map<unsigned, std::string> m_titles;
    std::map<unsigned, UIColor> m_titleColors;
    std::map<unsigned, std::shared_ptr<UIImage>> m_backgroundImages;
    std::map<unsigned, std::shared_ptr<UIImage>> m_images;
    UIFont m_font{UIFont::boldSystemFontOfSize(15)};
};

} // namespace dazed
