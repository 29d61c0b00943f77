#include "platform/graphics/TraceFormat.h"

#include "platform/graphics/MacRoman.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace dazed {

namespace {
class ArgWriter {
public:
    explicit ArgWriter(std::string& out)
        : m_out(out)
    {
    }

    void number(float v)
    {
        separate();
        // JSON has no infinities or NaN.
        if (!std::isfinite(v)) {
            m_out += "null";
            return;
        }
        char buf[32];
        const auto result = std::to_chars(buf, buf + sizeof buf, v);
        m_out.append(buf, result.ptr);
    }

    void integer(long long v)
    {
        separate();
        m_out += std::to_string(v);
    }

    void text(const std::string& bytes)
    {
        separate();
        m_out += '"';
        for (unsigned char c : macRomanToUtf8(bytes)) {
            switch (c) {
            case '"':
                m_out += "\\\"";
                break;
            case '\\':
                m_out += "\\\\";
                break;
            case '\n':
                m_out += "\\n";
                break;
            case '\t':
                m_out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char esc[8];
                    std::snprintf(esc, sizeof esc, "\\u%04x", static_cast<unsigned>(c));
                    m_out += esc;
                } else {
                    m_out += static_cast<char>(c);
                }
            }
        }
        m_out += '"';
    }

    void rect(CGRect r)
    {
        number(r.origin.x);
        number(r.origin.y);
        number(r.size.width);
        number(r.size.height);
    }

    void points(const std::vector<CGPoint>& pts)
    {
        separate();
        m_out += '[';
        ArgWriter inner(m_out);
        for (const CGPoint& p : pts) {
            inner.separate();
            m_out += '[';
            ArgWriter pair(m_out);
            pair.number(p.x);
            pair.number(p.y);
            m_out += ']';
        }
        m_out += ']';
    }

private:
    void separate()
    {
        if (m_any)
            m_out += ',';
        m_any = true;
    }

    std::string& m_out;
    bool m_any{false};
};

template <typename... F> struct Overloaded : F... {
    using F::operator()...;
};
template <typename... F> Overloaded(F...) -> Overloaded<F...>;
} // namespace

std::string traceLine(const DrawOp& drawOp)
{
    std::string line = "{\"op\":\"";
    line += opName(drawOp);
    line += "\",\"args\":[";
    ArgWriter args(line);
    std::visit(Overloaded{
                   [&](const op::ClearRect& o) { args.rect(o.rect); },
                   [&](const op::FillRect& o) { args.rect(o.rect); },
                   [&](const op::FillEllipseInRect& o) { args.rect(o.rect); },
                   [&](const op::SetRGBFillColor& o) {
                       args.number(o.red);
                       args.number(o.green);
                       args.number(o.blue);
                       args.number(o.alpha);
                   },
                   [&](const op::SetRGBStrokeColor& o) {
                       args.number(o.red);
                       args.number(o.green);
                       args.number(o.blue);
                       args.number(o.alpha);
                   },
                   [&](const op::SetLineWidth& o) { args.number(o.width); },
                   [&](const op::BeginPath&) {},
                   [&](const op::MoveToPoint& o) {
                       args.number(o.x);
                       args.number(o.y);
                   },
                   [&](const op::AddLineToPoint& o) {
                       args.number(o.x);
                       args.number(o.y);
                   },
                   [&](const op::StrokePath&) {},
                   [&](const op::StrokeLineSegments& o) {
                       args.points(o.points);
                       args.integer(static_cast<long long>(o.count));
                   },
                   [&](const op::SelectFont& o) {
                       args.text(o.name);
                       args.number(o.size);
                       args.integer(o.encoding);
                   },
                   [&](const op::SetTextDrawingMode& o) { args.integer(o.mode); },
                   [&](const op::SetTextMatrix& o) {
                       args.number(o.matrix.a);
                       args.number(o.matrix.b);
                       args.number(o.matrix.c);
                       args.number(o.matrix.d);
                       args.number(o.matrix.tx);
                       args.number(o.matrix.ty);
                   },
                   [&](const op::ShowTextAtPoint& o) {
                       args.number(o.x);
                       args.number(o.y);
                       args.text(o.text);
                       args.integer(static_cast<long long>(o.text.size()));
                   },
               },
               drawOp);
    line += "]}";
    return line;
}

} // namespace dazed
