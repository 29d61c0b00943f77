#pragma once

// Geometry value types in view coordinates: points, origin at the top left, y growing downwards,
// single-precision as the drawing calls take them.

#include <ostream>

namespace dazed {

struct CGPoint {
    float x{0.0f};
    float y{0.0f};

    friend bool operator==(const CGPoint&, const CGPoint&) = default;
    [[nodiscard]] CGPoint translated(float dx, float dy) const { return {x + dx, y + dy}; }
};

struct CGSize {
    float width{0.0f};
    float height{0.0f};

    friend bool operator==(const CGSize&, const CGSize&) = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;

    friend bool operator==(const CGRect&, const CGRect&) = default;

    [[nodiscard]] float minX() const { return origin.x; }
    [[nodiscard]] float minY() const { return origin.y; }
    [[nodiscard]] float maxX() const { return origin.x + size.width; }
    [[nodiscard]] float maxY() const { return origin.y + size.height; }
    [[nodiscard]] CGPoint center() const { return {origin.x + size.width / 2, origin.y + size.height / 2}; }
    // Half-open on the far edges, so that adjacent rectangles never both contain a point.
    [[nodiscard]] bool contains(CGPoint p) const
    {
        return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
    }
    // True when the two share some area; rectangles that only touch do not.
    [[nodiscard]] bool overlaps(const CGRect& other) const
    {
        return minX() < other.maxX() && other.minX() < maxX() && minY() < other.maxY() &&
               other.minY() < maxY();
    }
};

inline CGRect CGRectMake(float x, float y, float width, float height)
{
    return {{x, y}, {width, height}};
}

// The 2-D affine transform (a b; c d; tx ty) that maps (x, y) to (a x + c y + tx, b x + d y + ty).
struct CGAffineTransform {
    float a{1.0f};
    float b{0.0f};
    float c{0.0f};
    float d{1.0f};
    float tx{0.0f};
    float ty{0.0f};

    friend bool operator==(const CGAffineTransform&, const CGAffineTransform&) = default;
};

inline CGAffineTransform CGAffineTransformMake(float a, float b, float c, float d, float tx, float ty)
{
    return {a, b, c, d, tx, ty};
}

inline std::ostream& operator<<(std::ostream& out, const CGPoint& p)
{
    return out << "(" << p.x << ", " << p.y << ")";
}

inline std::ostream& operator<<(std::ostream& out, const CGSize& s)
{
    return out << s.width << " x " << s.height;
}

inline std::ostream& operator<<(std::ostream& out, const CGRect& r)
{
    return out << "[" << r.origin << " " << r.size << "]";
}

inline std::ostream& operator<<(std::ostream& out, const CGAffineTransform& t)
{
    return out << "[" << t.a << " " << t.b << " " << t.c << " " << t.d << " " << t.tx << " " << t.ty << "]";
}

} // namespace dazed
