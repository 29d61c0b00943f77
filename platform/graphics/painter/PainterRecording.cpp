#include "platform/graphics/painter/PainterRecording.h"

#include "platform/graphics/image/ImageContext.h"

namespace dazed {

namespace {

// Makes one step on `painter`, which draws into `target` and has been moved by `offset`; the
// view's own calls draw into the target without the painter and move by `offset` themselves.
struct StepMaker {
    Image& target;
    UIPainter& painter;
    CGPoint offset;

    void operator()(const paint::Save&) const { painter.save(); }
    void operator()(const paint::Restore&) const { painter.restore(); }
    void operator()(const paint::Translate& s) const { painter.translate(s.dx, s.dy); }
    void operator()(const paint::Clip& s) const { painter.clip(s.rect); }
    void operator()(const paint::Fill& s) const { painter.fill(s.color); }
    void operator()(const paint::FillRect& s) const { painter.fillRect(s.rect, s.color); }
    void operator()(const paint::FillVerticalGradient& s) const
    {
        painter.fillVerticalGradient(s.rect, s.top, s.bottom);
    }
    void operator()(const paint::FillRoundedRect& s) const
    {
        painter.fillRoundedRect(s.rect, s.radius, s.color);
    }
    void operator()(const paint::StrokeRoundedRect& s) const
    {
        painter.strokeRoundedRect(s.rect, s.radius, s.lineWidth, s.color);
    }
    void operator()(const paint::FillEllipse& s) const { painter.fillEllipse(s.rect, s.color); }
    void operator()(const paint::StrokeEllipse& s) const
    {
        painter.strokeEllipse(s.rect, s.lineWidth, s.color);
    }
    void operator()(const paint::DrawImage& s) const { painter.drawImage(*s.image, s.dest, s.alpha); }
    void operator()(const paint::CopyPixels& s) const { painter.copyPixels(*s.image); }
    void operator()(const paint::DrawImageColumn& s) const
    {
        painter.drawImageColumn(*s.image, s.sourceMinX, s.sourceMaxX, s.dest);
    }
    void operator()(const paint::DrawText& s) const
    {
        painter.drawText(s.text, s.rect, FontSpec{s.named ? s.family.c_str() : nullptr, s.size, s.weight},
                         s.color, s.alignment);
    }
    void operator()(const paint::DrawCalls& s) const
    {
        const CGRect area{s.area.origin.translated(offset.x, offset.y), s.area.size};
        drawRecorded(target, area.origin, ImageContext::Clear::Black, *s.ops, area);
    }
};

} // namespace

void PainterRecording::replay(Image& target, UIPainter& painter, CGPoint offset) const
{
    UIPainterStateSaver saved(painter);
    painter.translate(offset.x, offset.y);
    const StepMaker make{target, painter, offset};
    for (const PaintStep& step : m_steps)
        std::visit(make, step);
}

} // namespace dazed
