#include "coordinates.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace cadsim {

bool ParseNumber(const std::string& text, double& value) {
    if (text.empty() || text.size() > 40)
        return false;
    bool digit = false;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (!(c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return false;
    }
    if (!digit)
        return false;
    errno = 0;
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(parsed) ||
        std::fabs(parsed) >= kLargestCoordinate)
        return false;
    value = parsed;
    return true;
}

bool ParsePoint(const std::string& text, Point& point, double& z) {
    double coordinates[3] = {0, 0, 0};
    std::size_t count = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (count == 3 || !ParseNumber(part, coordinates[count]))
            return false;
        ++count;
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (count < 2)
        return false;
    point = Point{coordinates[0], coordinates[1]};
    z = coordinates[2];
    return true;
}

bool ParsePoint(const std::string& text, Point& point) {
    double z = 0;
    return ParsePoint(text, point, z);
}

std::string Fixed4(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%.4f", value);
    std::string text = buffer;
    if (text == "-0.0000")
        text.erase(0, 1);
    return text;
}

std::string PointText(const Point& point) {
    return Fixed4(point.x) + "," + Fixed4(point.y);
}

}  // namespace cadsim
