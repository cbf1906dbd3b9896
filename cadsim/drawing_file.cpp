#include "drawing_file.h"

#include "source_lines.h"

#include <cmath>
#include <vector>

#include "system_variables.h"

namespace cadsim {
namespace {

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            ++at;
        std::size_t end = at;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t')
            ++end;
        if (end > at)
            words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

// Printable ASCII only: anything else in a word is shown as a byte value.
std::string Shown(const std::string& word) {
    std::string shown;
    for (char c : word.substr(0, 40)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            shown += c;
        } else {
            static const char kDigits[] = "0123456789ABCDEF";
            shown += "\\x";
            shown += kDigits[byte >> 4];
            shown += kDigits[byte & 0x0F];
        }
    }
    return word.size() > 40 ? shown + "..." : shown;
}

bool ParseCorners(const std::vector<std::string>& words, Polygon& corners, std::string& error) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        Point corner;
        if (!ParsePoint(words[i], corner)) {
            error = "'" + Shown(words[i]) + "' is not a corner x,y";
            return false;
        }
        if (corners.size() == kMostCorners) {
            error = "more than " + std::to_string(kMostCorners) + " corners";
            return false;
        }
        corners.push_back(corner);
    }
    return true;
}

bool ParseOpenPolyline(const std::vector<std::string>& words, Entity& entity, std::string& error) {
    Polygon corners;
    if (!ParseCorners(words, corners, error))
        return false;
    if (corners.size() < 2) {
        error = "an openpolyline needs at least 2 corners";
        return false;
    }
    for (std::size_t i = 1; i < corners.size(); ++i) {
        if (corners[i].x == corners[i - 1].x && corners[i].y == corners[i - 1].y) {
            error = "corner " + std::to_string(i + 1) + " repeats the one before it";
            return false;
        }
    }
    if (corners.front().x == corners.back().x && corners.front().y == corners.back().y) {
        error = "the openpolyline ends where it starts: write it as a polyline";
        return false;
    }
    entity.corners = std::move(corners);
    return true;
}

bool ParseShape(const std::vector<std::string>& words, Entity& entity, std::string& error) {
    Polygon corners;
    if (!ParseCorners(words, corners, error))
        return false;
    if (corners.size() >= 3 && corners.front().x == corners.back().x && corners.front().y == corners.back().y)
        corners.pop_back();  // written closed
    if (corners.size() < 3) {
        error = "a " + words[0] + " needs at least 3 corners";
        return false;
    }
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Point& previous = corners[(i + corners.size() - 1) % corners.size()];
        if (corners[i].x == previous.x && corners[i].y == previous.y) {
            error = "corner " + std::to_string(i + 1) + " repeats the one before it";
            return false;
        }
    }
    if (SignedArea(corners) == 0) {
        error = "the shape has no area";
        return false;
    }
    if (!IsSimple(corners)) {
        error = "the edges of the shape cross or touch";
        return false;
    }
    entity.corners = std::move(corners);
    return true;
}

bool ParseCircle(const std::vector<std::string>& words, Entity& entity, std::string& error) {
    if (words.size() != 3) {
        error = "a circle needs a centre x,y and a radius";
        return false;
    }
    if (!ParsePoint(words[1], entity.center)) {
        error = "'" + Shown(words[1]) + "' is not a centre x,y";
        return false;
    }
    if (!ParseNumber(words[2], entity.radius) || !(entity.radius > 0)) {
        error = "'" + Shown(words[2]) + "' is not a radius greater than 0";
        return false;
    }
    return true;
}

bool ParseEntity(const std::vector<std::string>& words, Entity& entity, std::string& error) {
    const std::string kind = UpperAscii(words[0]);
    if (kind == "POLYLINE") {
        entity.type = EntityType::Polyline;
        return ParseShape(words, entity, error);
    }
    if (kind == "REGION") {
        entity.type = EntityType::Region;
        return ParseShape(words, entity, error);
    }
    if (kind == "CIRCLE") {
        entity.type = EntityType::Circle;
        return ParseCircle(words, entity, error);
    }
    if (kind == "OPENPOLYLINE") {
        entity.type = EntityType::OpenPolyline;
        return ParseOpenPolyline(words, entity, error);
    }
    error = "unknown entity '" + Shown(words[0]) + "' (polyline, region, circle or openpolyline)";
    return false;
}

}  // namespace

bool ParseDrawingFile(const std::string& text, Drawing& drawing, std::string& error) {
    std::vector<Entity> entities;
    for (const SourceLine& source : SourceLines(text)) {
        const std::string& line = source.text;
        const std::string where = "line " + std::to_string(source.number) + ": ";
        if (line.find('\0') != std::string::npos || line.find('\r') != std::string::npos) {
            error = where + "control characters in the line (is this a drawing file?)";
            return false;
        }
        const std::vector<std::string> words = Words(line);
        if (words.empty())
            continue;
        Entity entity;
        std::string problem;
        if (!ParseEntity(words, entity, problem)) {
            error = where + problem;
            return false;
        }
        if (entities.size() == kMostEntities) {
            error = where + "more than " + std::to_string(kMostEntities) + " entities";
            return false;
        }
        entities.push_back(std::move(entity));
    }
    for (Entity& entity : entities)
        drawing.Add(std::move(entity));
    return true;
}

}  // namespace cadsim
