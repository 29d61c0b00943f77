#pragma once

#include "platform/ui/UIColor.h"
#include "platform/ui/UIFont.h"
#include "platform/ui/UIView.h"

#include <string>

namespace dazed {

enum UITextAlignment : int {
    UITextAlignmentLeft = 0,
    UITextAlignmentCenter = 1,
    UITextAlignmentRight = 2,
};

// One line of text, centred vertically in the label. Labels let touches through.
class UILabel : public UIView {
public:
    explicit UILabel(CGRect frame = {});

    void setText(std::string text);
    [[nodiscard]] const std::string& text() const { return m_text; }
    void setTextColor(UIColor color);
    [[nodiscard]] UIColor textColor() const { return m_textColor; }
    void setTextAlignment(int alignment);
    [[nodiscard]] int textAlignment() const { return m_alignment; }
    void setFont(UIFont font);
    [[nodiscard]] const UIFont& font() const { return m_font; }

protected:
    [[nodiscard]] bool paintsContent() const override { return true; }
    void paintContent(UIPainter& painter) override;

private:
    std::string m_text;
    UIColor m_textColor{UIColor::blackColor()};
    int m_alignment{UITextAlignmentLeft};
    UIFont m_font{UIFont::systemFontOfSize(17)};
};

} // namespace dazed
