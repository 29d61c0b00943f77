#include "platform/graphics/TraceFormat.h"

#include "platform/graphics/MacRoman.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <tuple>

namespace dazed {

namespace {
class ArgWriter {
public:
    explicit ArgWriter(std::string& out)
        : m_out(out)
    {
    }

    // The types a recorded argument comes in.
    void write(float v) { number(v); }
    void write(std::size_t v) { integer(static_cast<long long>(v)); }
    void write(CGTextEncoding v) { integer(v); }
    void write(CGTextDrawingMode v) { integer(v); }
    void write(const std::string& bytes) { text(bytes); }
    void write(const std::vector<CGPoint>& pts) { points(pts); }
    void write(CGRect r)
    {
        number(r.origin.x);
        number(r.origin.y);
        number(r.size.width);
        number(r.size.height);
    }
    void write(const CGAffineTransform& m)
    {
        number(m.a);
        number(m.b);
        number(m.c);
        number(m.d);
        number(m.tx);
        number(m.ty);
    }

private:
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

    void separate()
    {
        if (m_any)
            m_out += ',';
        m_any = true;
    }

    std::string& m_out;
    bool m_any{false};
};

} // namespace

std::string traceLine(const DrawOp& drawOp)
{
    std::string line = "{\"op\":\"";
    line += opName(drawOp);
    line += "\",\"args\":[";
    ArgWriter args(line);
    std::visit(
        [&](const auto& record) {
            std::apply([&](const auto&... argument) { (args.write(argument), ...); }, record.arguments());
        },
        drawOp);
    line += "]}";
    return line;
}

} // namespace dazed
