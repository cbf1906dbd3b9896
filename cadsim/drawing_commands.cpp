#include "drawing_commands.h"

#include <algorithm>
#include <cmath>

#include "linear_units.h"
#include "object_selection.h"

namespace cadsim {

const char kPointRequired[] = "点または オプション キーワードが必要です。";

namespace {

const char kIdPrompt[] = "点を指定: ";
const char kCentrePrompt[] = "円の中心点を指定: ";
const char kRadiusPrompt[] = "円の半径を指定: ";
const char kDistanceRequired[] = "数値距離か 2 点目が必要です。";
const char kPositiveRequired[] = "値は正で 0 以外でなければなりません。";
const char kInnerPointPrompt[] = "内側の点を指定: ";
const char kNoBoundary[] = "有効な境界が見つかりません。";

class IdCommand : public RunningCommand {
public:
    std::string Prompt() const override { return kIdPrompt; }
    bool TakesClicks() const override { return true; }
    bool TakesPoints() const override { return true; }

    bool Answer(const std::string& input, CommandContext& context) override {
        if (input.empty())
            return false;
        Point point;
        double z = 0;
        if (!context.TypedPoint(input, point, z)) {
            context.Print(kPointRequired);
            return true;
        }
        Show(point, z, context);
        return false;
    }

    bool Click(const Point& point, CommandContext& context) override {
        Show(context.PickedPoint(point), 0, context);
        return false;
    }

private:
    static void Show(const Point& point, double z, CommandContext& context) {
        const LinearUnits units = context.variables.Units();
        context.Print("X = " + FormatLength(point.x, units) + "     Y = " + FormatLength(point.y, units) +
                      "     Z = " + FormatLength(z, units));
        context.SetPointVariable("LASTPOINT", point, z);
    }
};

class CircleCommand : public RunningCommand {
public:
    std::string Prompt() const override { return haveCentre_ ? kRadiusPrompt : kCentrePrompt; }
    bool TakesClicks() const override { return true; }
    bool TakesPoints() const override { return true; }

    bool Answer(const std::string& input, CommandContext& context) override {
        if (!haveCentre_) {
            if (input.empty())
                return false;
            if (!context.TypedPoint(input, centre_)) {
                context.Print(kPointRequired);
                return true;
            }
            haveCentre_ = true;
            return true;
        }
        double radius = 0;
        Point through;
        if (ParseNumber(input, radius))
            return Draw(radius, context);
        if (context.TypedPoint(input, through))
            return Draw(std::hypot(through.x - centre_.x, through.y - centre_.y), context);
        context.Print(kDistanceRequired);
        return true;
    }

    bool Click(const Point& point, CommandContext& context) override {
        const Point picked = context.PickedPoint(point);
        if (!haveCentre_) {
            centre_ = picked;
            haveCentre_ = true;
            return true;
        }
        return Draw(std::hypot(picked.x - centre_.x, picked.y - centre_.y), context);
    }

private:
    bool Draw(double radius, CommandContext& context) {
        if (!(radius > 0)) {
            context.Print(kPositiveRequired);
            return true;
        }
        Entity circle;
        circle.type = EntityType::Circle;
        circle.center = centre_;
        circle.radius = radius;
        context.AddEntity(circle);
        return false;
    }

    bool haveCentre_ = false;
    Point centre_;
};

// Finds the shapes around the points given; the polylines are made when the command ends, so a
// cancelled command leaves the drawing as it was.
class BoundaryCommand : public RunningCommand {
public:
    std::string Prompt() const override { return kInnerPointPrompt; }
    bool TakesClicks() const override { return true; }
    bool TakesPoints() const override { return true; }
    std::vector<int> Highlighted() const override { return sources_; }

    bool Answer(const std::string& input, CommandContext& context) override {
        if (input.empty()) {
            const SystemVariable* kind = context.variables.Find("HPBOUND");
            const bool regions = kind != nullptr && kind->value == "0";
            std::size_t made = 0;
            for (int id : sources_) {
                const Entity* source = context.drawing.Find(id);
                if (source == nullptr)
                    continue;
                Entity boundary = *source;
                if (regions)
                    boundary.type = EntityType::Region;
                else
                    boundary.type = source->Round() ? EntityType::Circle : EntityType::Polyline;
                context.AddEntity(boundary);
                ++made;
            }
            context.Print("BOUNDARY は " + std::to_string(made) + (regions ? " 個のリージョン" : " 個のポリライン") +
                          "を作成しました");
            return false;
        }
        Point point;
        if (!context.TypedPoint(input, point)) {
            context.Print(kPointRequired);
            return true;
        }
        return Find(point, context);
    }

    bool Click(const Point& point, CommandContext& context) override {
        return Find(context.PickedPoint(point), context);
    }

private:
    // A shape whose lines have a gap (an open polyline) holds no area, so none is found there.
    bool Find(const Point& point, CommandContext& context) {
        context.Print("すべてを選択中...");
        context.Print("選択されたデータを解析中...");
        const Entity* shape = context.drawing.InnermostAt(point, true, true);
        if (shape == nullptr)
            context.Print(kNoBoundary);
        else if (std::find(sources_.begin(), sources_.end(), shape->id) == sources_.end())
            sources_.push_back(shape->id);
        return true;
    }

    std::vector<int> sources_;
};

class RegionCommand : public RunningCommand {
public:
    std::string Prompt() const override { return kSelectObjectsPrompt; }
    bool TakesClicks() const override { return true; }
    std::vector<int> Highlighted() const override { return selection_.Ids(); }

    bool Answer(const std::string& input, CommandContext& context) override {
        if (!selection_.Answer(input, context))
            return true;
        std::size_t made = 0;
        // Every closed object becomes a region, a circle a round one, and its source goes.
        for (int id : selection_.Ids()) {
            const Entity* source = context.drawing.Find(id);
            if (source == nullptr || source->type == EntityType::Region || !source->Closed())
                continue;
            Entity region = *source;
            region.type = EntityType::Region;
            context.AddEntity(region);
            context.RemoveEntity(id);
            ++made;
        }
        context.Print(std::to_string(made) + " 個のループが抽出されました。");
        context.Print(std::to_string(made) + " 個のリージョンが作成されました。");
        return false;
    }

    bool Click(const Point& point, CommandContext& context) override {
        selection_.Click(point, context);
        return true;
    }

private:
    ObjectSelection selection_;
};

}  // namespace

std::unique_ptr<RunningCommand> StartId(CommandContext&) {
    return std::make_unique<IdCommand>();
}

std::unique_ptr<RunningCommand> StartCircle(CommandContext&) {
    return std::make_unique<CircleCommand>();
}

std::unique_ptr<RunningCommand> StartBoundary(CommandContext&) {
    return std::make_unique<BoundaryCommand>();
}

std::unique_ptr<RunningCommand> StartRegion(CommandContext&) {
    return std::make_unique<RegionCommand>();
}

}  // namespace cadsim
