#include "separation/KeyedComparison.h"

#include <tuple>

namespace {

// The work of reading where a keyed group lies at one frame, and more for
// each value of it that is keyed (each is read again); of comparing a piece
// at a frame, and of building one again (see kMaxComparedWork).
constexpr double kPlacementWork = 1.5;
constexpr double kValueWork = 3.5;
constexpr double kComparedWork = 11.0;
constexpr double kBuildWork = 21.0;
// The work of boxing a piece over a run and looking whether it meets a box.
constexpr double kLookWork = 0.5;
// The most frames at which where the copies that move lie is read before
// the comparison runs, to tell what it needs (see keyedWorkEstimate).
constexpr double kSampledFrames = 256.0;
// The most work telling it makes of the first pass over that sample; where
// that pass needs more, the work it is told a filled piece, or a piece of a
// band, needs over a run of its path where its copy meets another (boxed,
// looked at, and told whether it may meet).
constexpr double kMaxToldWork = 1e6;
constexpr double kFillRunWork = 32.0, kBandRunWork = 3.0;
// The fewest of those frames over which two pieces whose boxes meet are
// told whether they may meet, and the most at which the pieces it would
// compare are placed to look whether they meet, to tell where the
// comparison stops.
constexpr double kToldFrames = 16.0;
// The work of telling whether two pieces whose boxes meet may meet while
// they move.
constexpr double kGrownWork = 11.0;
// A little more reach than a piece may move, so that rounding cannot hide a
// piece that touches another.
constexpr double kReachMargin = 1e-9;
// The most a fill grown by the skin (withSkin) reaches beyond it, every way.
const double kSkinReach = kSkin / std::cos(M_PI / 8.0);

// The work of reading where a copy that only moves lies at every one of
// `frames` (none for any other): the comparison reads that before it
// compares a frame.
double readingWork(const SplitCopy& copy, const Frames& frames)
{
    return copy.motion == SplitCopy::Moved ? (kPlacementWork + kValueWork * copy.move.values) * frames.count() : 0.0;
}

// For a copy whose group's own transform alone is keyed: the maps that move
// its pieces from time 0 to each of `frames`, as the group's transform moves
// them (through the layer at time 0 into world units turned by `turn`). False
// when they cannot be told so (a value cannot be read, the group flattens
// its contents at time 0, or a map is not finite): the copy is then built
// again at each frame. Every group of the top level lies in the same groups
// and layer: their placement is read once into `placement` (`placed` then
// true) and serves the copies that follow.
bool readMoves(const AEGP_SuiteHandler& suites, const LayerBuild& build, float turn, const Frames& frames,
               ItemPlacement& placement, bool& placed, SplitCopy& copy)
{
    ScopedStream contents(suites), group(suites), root(suites);
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(build.pluginId, build.layer, root.out());
    if (!err)
        err = childByMatchName(suites, build.pluginId, root.get(), "ADBE Root Vectors Group", contents);
    if (!err && contents)
        err = childByIndex(suites, build.pluginId, contents.get(), copy.group, group);
    if (!err && group && !placed) {
        err = readItemPlacement(build.pluginId, build.basic, build.layer, group.get(), placement);
        placed = !err;
    }
    GroupTransformReader reader(suites, build.pluginId);
    if (!err && group)
        err = reader.open(group.get());
    if (err || !group)
        return false;
    // From the group's contents to world units: the groups about it, the
    // layer, the pixel aspect ratio, then the turn and the world's scale.
    const A_Matrix4& m = placement.matrix;
    GroupMatrix layer;
    layer.a = m.mat[0][0] * placement.pixelAspect;
    layer.b = m.mat[1][0] * placement.pixelAspect;
    layer.tx = m.mat[3][0] * placement.pixelAspect;
    layer.c = m.mat[0][1];
    layer.d = m.mat[1][1];
    layer.ty = m.mat[3][1];
    GroupMatrix world;
    world.a = world.d = std::cos(double(turn)) / 100.0;
    world.c = std::sin(double(turn)) / 100.0;
    world.b = -world.c;
    const GroupMatrix toWorld = world.after(layer).after(placement.chain.toLayer);
    GroupMatrix back;
    if (!toWorld.after(GroupMatrix::of(reader.transform())).inverse(back))
        return false;
    copy.moves.clear();
    for (double k = frames.first; k <= frames.last; ++k) {
        const StreamReadTime readAt(frames.at(k));
        if (reader.read())
            return false;
        const GroupMatrix move = toWorld.after(GroupMatrix::of(reader.transform())).after(back);
        if (!move.isFinite())
            return false;
        copy.moves.push_back(move);
    }
    return true;
}

// Widens the bounds `at` (low x, high x, low y, high y) by the point (x, y).
void widen(double (&at)[4], double x, double y)
{
    at[0] = std::min(at[0], x), at[1] = std::max(at[1], x);
    at[2] = std::min(at[2], y), at[3] = std::max(at[3], y);
}

// Cuts the path of a copy that only moves into runs of frames, each as long
// as the boxes of its pieces over it grow by no more than an eighth of what
// the copy spans: a piece is then followed along its path, not grown by all
// of it in every direction.
void cutIntoRuns(SplitCopy& copy)
{
    copy.runs.clear();
    if (copy.area.drawn.empty())
        return;
    double all[4] = {HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL};
    for (size_t j = 0; j < copy.area.drawn.pieces.size(); ++j)
        for (const AreaPoint& q : j < copy.area.filled ? copy.area.painted[j] : copy.area.drawn.pieces[j])
            widen(all, q.x, q.y);
    const AreaPoint at{(all[0] + all[1]) / 2.0, (all[2] + all[3]) / 2.0};
    copy.about = at;
    const auto note = [&](double(&bounds)[4], double& far, AreaPoint p) {
        widen(bounds, p.x - at.x, p.y - at.y);
        far = std::max(far, std::hypot(p.x - at.x, p.y - at.y));
    };
    for (const Polygon& p : copy.area.painted)
        for (const AreaPoint& q : p)
            note(copy.fills, copy.far, q);
    for (const StrokeSource& s : copy.area.sources) {
        if (s.radius >= 0.0)
            note(copy.circles, copy.circlesFar, s.a);
        else
            for (const AreaPoint& p : {s.a, s.c1, s.c2, s.b})
                note(copy.edges, copy.edgesFar, p);
        copy.radius = std::max(copy.radius, s.radius);
    }
    // How far from `about` what it draws reaches, along x or y.
    const double size = std::max(all[1] - all[0], all[3] - all[2]) / 2.0;
    for (size_t f = 0; f < copy.moves.size(); ++f) {
        const PathRun one(f, copy.moves[f], at, copy.reachUnder(copy.moves[f]));
        const PathRun longer = copy.runs.empty() ? one : copy.runs.back().widened(one);
        if (!copy.runs.empty() && longer.growth(size) <= size / 4.0)
            copy.runs.back() = longer;
        else
            copy.runs.push_back(one);
    }
    for (PathRun& run : copy.runs) {
        const GroupMatrix& start = copy.moves[run.first];
        const AreaPoint from = mapped(start, at);
        for (size_t f = run.first; f <= run.last; ++f) {
            const GroupMatrix& m = copy.moves[f];
            const AreaPoint to = mapped(m, at);
            run.drift = std::max(run.drift, std::hypot(to.x - from.x, to.y - from.y) +
                                                largestStretch(m.a - start.a, m.b - start.b, m.c - start.c,
                                                               m.d - start.d) * copy.far);
        }
    }
}

// What the copy draws over `run`, kind by kind (its fills, the bands about
// its edges, those about its circles) through `visit`: where it lies at time
// 0 about `about` (see SplitCopy::fills), how far beyond that it reaches
// every way, and how far from `about` that lies.
template <typename Visit>
void forEachKind(const SplitCopy& copy, const PathRun& run, Visit visit)
{
    if (copy.fills[0] <= copy.fills[1])
        visit(copy.fills, kSkinReach + kReachMargin, copy.far);
    if (copy.edges[0] <= copy.edges[1])
        visit(copy.edges, std::sqrt(2.0) * run.reach + kReachMargin, copy.edgesFar);
    if (copy.circles[0] <= copy.circles[1])
        visit(copy.circles,
              (copy.radius * run.stretch + run.reach) / std::cos(M_PI / DrawnPieces::kCircleSides) + kReachMargin,
              copy.circlesFar);
}

// A box that holds all the copy draws at every frame of `run`.
SpanBox copyOverRun(const SplitCopy& copy, const PathRun& run)
{
    SpanBox all = run.box(0.0, 0.0, 0.0, 0.0, 0.0);
    all.minX = all.minY = HUGE_VAL;
    all.maxX = all.maxY = -HUGE_VAL;
    forEachKind(copy, run, [&](const double(&at)[4], double grow, double distance) {
        const SpanBox b = run.box(at, grow, distance);
        all.minX = std::min(all.minX, b.minX), all.maxX = std::max(all.maxX, b.maxX);
        all.minY = std::min(all.minY, b.minY), all.maxY = std::max(all.maxY, b.maxY);
    });
    return all;
}

// How far from where `about` goes all the copy draws lies at every frame of
// `run`: the outer edge of the ring it sweeps, its bands grown by their
// reach, its fills by the skin.
double ringOverRun(const SplitCopy& copy, const PathRun& run)
{
    double most = 0.0;
    forEachKind(copy, run, [&](const double(&)[4], double grow, double distance) {
        most = std::max(most, run.stretch * distance + grow);
    });
    return most;
}

// A box that holds piece j of the copy at every frame of `run`.
SpanBox boxOverRun(const SplitCopy& copy, size_t j, const PathRun& run)
{
    const AreaPoint at = copy.about;
    if (j < copy.area.filled) {
        double corners[4] = {HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL};
        double far = 0.0;
        for (const AreaPoint& q : copy.area.painted[j]) {
            widen(corners, q.x - at.x, q.y - at.y);
            far = std::max(far, std::hypot(q.x - at.x, q.y - at.y));
        }
        return run.box(corners, kSkinReach + kReachMargin, far);
    }
    // A band about an edge reaches its corners, the reach times the root of
    // 2 from the box of the edge's ends (of a curve's control points); one
    // about a circle is the polygon strokePiece makes about it.
    const StrokeSource& s = copy.area.sources[j - copy.area.filled];
    const double far = std::hypot(s.a.x - at.x, s.a.y - at.y);
    if (s.radius >= 0.0)
        return run.box(s.a.x - at.x, s.a.x - at.x, s.a.y - at.y, s.a.y - at.y,
                       (s.radius * run.stretch + run.reach) / std::cos(M_PI / DrawnPieces::kCircleSides) + kReachMargin,
                       far);
    double corners[4] = {HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL};
    double farthestPoint = 0.0;
    for (const AreaPoint& p : {s.a, s.c1, s.c2, s.b}) {
        widen(corners, p.x - at.x, p.y - at.y);
        farthestPoint = std::max(farthestPoint, std::hypot(p.x - at.x, p.y - at.y));
    }
    return run.box(corners, std::sqrt(2.0) * run.reach + kReachMargin, farthestPoint);
}

// Whether two boxes share a place of positive area over some frame both
// span.
bool boxesShare(const SpanBox& p, const SpanBox& q)
{
    return p.minX < q.maxX && q.minX < p.maxX && p.minY < q.maxY && q.minY < p.maxY && p.first <= q.last &&
           q.first <= p.last;
}

// Frames (counted from the first compared) at which a piece of a copy is
// compared.
struct Compared {
    size_t copy = 0, piece = 0;
    size_t first = 0, last = 0;
};

// The comparison of the copies after time 0, the work it takes counted.
class KeyedComparison
{
public:
    KeyedComparison(const AEGP_SuiteHandler& suites, const LayerBuild& build, const LayerPlacement& placement,
                    const OutlineFrame& frame, std::vector<SplitCopy>& copies, const Frames& frames, double most)
        : suites_(suites), build_(build), placement_(placement), frame_(frame), copies_(copies), frames_(frames),
          most_(most)
    {
    }

    GroupsMeet verdict()
    {
        // The work is counted as it is done, and the comparison stopped once
        // it would pass the most allowed: where each moving copy lies at
        // every frame, the boxes, the pieces compared and built at each
        // frame. Reading where the moving copies lie cannot be spared: when
        // that alone is more, the comparison stops before it begins.
        double reads = 0.0;
        for (const SplitCopy& copy : copies_)
            reads += readingWork(copy, frames_);
        if (reads > most_) {
            needed_ = reads;
            return GroupsMeet::KeyedTooLong;
        }
        for (SplitCopy& copy : copies_) {
            if (copy.motion == SplitCopy::Moved) {
                if (!spend(readingWork(copy, frames_)))
                    return GroupsMeet::KeyedTooLong;
                // A copy whose moves cannot be told is built again instead.
                if (!readMoves(suites_, build_, frame_.rotation, frames_, groupPlacement_, placed_, copy))
                    copy.motion = SplitCopy::Reshaped;
            }
            if (copy.motion == SplitCopy::Moved)
                cutIntoRuns(copy);
            reshaped_ = reshaped_ || copy.motion == SplitCopy::Reshaped;
        }
        if (!firstPass())
            return GroupsMeet::KeyedTooLong;
        return compareFrames();
    }

    // What the comparison of its copies at every frame is told to need, from
    // this one over a sample of them (every `every` frames), before it
    // runs: where the copies that move lie is read at the sample, and the
    // first pass made over it as the comparison makes it, but for telling
    // whether two pieces whose boxes meet may meet (counted, not done): each
    // such piece is then counted as compared at every frame their boxes
    // share (comparedOver). A copy built again costs that at every frame.
    double told(double every)
    {
        double work = 0.0;
        for (SplitCopy& copy : copies_) {
            if (copy.motion == SplitCopy::Moved &&
                !readMoves(suites_, build_, frame_.rotation, frames_, groupPlacement_, placed_, copy))
                copy.motion = SplitCopy::Reshaped;
            if (copy.motion == SplitCopy::Moved)
                cutIntoRuns(copy);
            if (copy.motion == SplitCopy::Reshaped)
                work += kBuildWork * double(copy.area.drawn.pieces.size()) * frames_.count() * every;
        }
        if (firstPass(true))
            return work + work_ + untold_ + comparedOver(compared_) * every;
        // Where making that pass would itself cost too much, each piece of a
        // copy over a run where it meets another (their rings not apart) is
        // counted as the pieces the first pass looks at cost.
        std::vector<SpanBox> boxes;
        std::vector<Owner> owners;
        std::vector<std::pair<size_t, size_t>> pairs;
        const double before = work_;
        copiesThatMeet(boxes, owners, pairs, work_, HUGE_VAL);
        work += work_ - before;
        std::vector<bool> met(boxes.size());
        for (const auto& pair : pairs)
            if (!ringsApart(boxes[pair.first], owners[pair.first], boxes[pair.second], owners[pair.second]))
                met[pair.first] = met[pair.second] = true;
        for (size_t i = 0; i < boxes.size(); ++i)
            if (met[i]) {
                const CopyArea& area = copies_[owners[i].copy].area;
                work += kFillRunWork * double(area.filled) +
                        kBandRunWork * double(area.drawn.pieces.size() - area.filled);
            }
        return work;
    }

    // What comparing piece by piece at each frame needs, told from `spans`
    // (joined, of the pieces that may meet another): each piece at each
    // frame of its spans, up to a frame at which they are found to meet
    // (looked at every so many frames), where the comparison stops.
    double comparedOver(const std::vector<Compared>& spans) const
    {
        const size_t frames = size_t(frames_.count());
        const size_t looked = std::max<size_t>(1, size_t(std::ceil(frames_.count() / kToldFrames)));
        std::vector<double> starts(frames + 1, 0.0);
        for (const Compared& span : spans) {
            starts[span.first] += 1.0;
            starts[span.last + 1] -= 1.0;
        }
        double work = 0.0, pieces = 0.0;
        for (size_t f = 0; f < frames; ++f) {
            pieces += starts[f];
            work += kComparedWork * pieces;
            if (pieces <= 0.0 || f % looked != 0)
                continue;
            std::vector<CopyArea> areas(copies_.size());
            for (const Compared& span : spans)
                if (span.first <= f && f <= span.last)
                    place(areas, span.copy, span.piece, f);
            if (howAreasMeet(areas, GroupsMeet::OverlapWhileMoving) != GroupsMeet::Apart)
                break;
        }
        return work;
    }

    // `spans` joined where they are of one piece and meet or overlap, in the
    // order of their first frames.
    static std::vector<Compared> joined(std::vector<Compared> spans)
    {
        std::sort(spans.begin(), spans.end(), [](const Compared& a, const Compared& b) {
            return std::tie(a.copy, a.piece, a.first) < std::tie(b.copy, b.piece, b.first);
        });
        std::vector<Compared> all;
        for (const Compared& span : spans) {
            Compared* last = all.empty() ? nullptr : &all.back();
            if (last && last->copy == span.copy && last->piece == span.piece && span.first <= last->last + 1)
                last->last = std::max(last->last, span.last);
            else
                all.push_back(span);
        }
        std::sort(all.begin(), all.end(), [](const Compared& a, const Compared& b) { return a.first < b.first; });
        return all;
    }

    // The work done, what was found to be needed when that is more than
    // allowed, and whether it stayed within the most allowed.
    double work() const { return work_; }
    double needed() const { return std::max(needed_, work_); }
    bool within() const { return needed() <= most_; }

private:
    // Counts work about to be done; false, counting nothing, when it would
    // pass the most allowed.
    bool spend(double work)
    {
        if (work_ + work > most_) {
            needed_ = work_ + work;
            return false;
        }
        work_ += work;
        return true;
    }

    // The boxes of the pieces that do not change shape over runs of frames
    // (one over all frames for a copy at rest), swept for those of
    // different copies that meet at some frame both span: only those pieces
    // are compared, and only at those frames.
    bool firstPass(bool telling = false)
    {
        std::vector<SpanBox> boxes;
        std::vector<Owner> owners;
        std::vector<std::pair<size_t, size_t>> pairs;
        if (!copiesThatMeet(boxes, owners, pairs, work_, most_))
            return false;
        // The pieces of those that meet another, over those runs, that meet
        // the box of another copy it meets there, unless the rings the two
        // sweep stay apart.
        std::vector<std::vector<std::vector<size_t>>> met(copies_.size());
        for (size_t c = 0; c < copies_.size(); ++c)
            met[c].resize(std::max<size_t>(1, copies_[c].runs.size()));
        for (const auto& pair : pairs) {
            if (ringsApart(boxes[pair.first], owners[pair.first], boxes[pair.second], owners[pair.second]))
                continue;
            met[owners[pair.first].copy][owners[pair.first].run].push_back(pair.second);
            met[owners[pair.second].copy][owners[pair.second].run].push_back(pair.first);
        }
        const std::vector<SpanBox> copyBoxes = std::move(boxes);
        double looked = 0.0;
        boxes.clear();
        owners.clear();
        for (size_t c = 0; c < copies_.size(); ++c)
            for (size_t r = 0; r < met[c].size(); ++r)
                for (size_t j = 0; !met[c][r].empty() && j < copies_[c].area.drawn.pieces.size(); ++j) {
                    const SpanBox b = boxAt(c, j, r);
                    looked += double(met[c][r].size());
                    if (std::any_of(met[c][r].begin(), met[c][r].end(),
                                    [&](size_t o) { return boxesShare(b, copyBoxes[o]); }))
                        add(boxes, owners, b, Owner{c, j, r});
                }
        if (!spend(kLookWork * looked))
            return false;
        pairs.clear();
        if (!boxesThatMeet(boxes, pairs, work_, most_))
            return false;
        // The frames at which each piece may meet another, joined.
        std::vector<Compared> spans;
        for (const auto& pair : pairs) {
            const SpanBox &p = boxes[pair.first], &q = boxes[pair.second];
            const size_t first = size_t(std::max(p.first, q.first)), last = size_t(std::min(p.last, q.last));
            // Telling, a pair whose boxes share few frames is counted and
            // taken to meet: that it may not would spare little.
            if (telling && double(last - first + 1) < kToldFrames)
                untold_ += kGrownWork;
            else if (!spend(kGrownWork) || !mayMeet(owners[pair.first], owners[pair.second]))
                continue;
            for (const size_t i : {pair.first, pair.second})
                spans.push_back(Compared{owners[i].copy, owners[i].piece, first, last});
        }
        if (!within())
            return false;
        compared_ = joined(std::move(spans));
        return true;
    }

    // Piece j of copy c over run r of its path (0 when it does not move).
    struct Owner {
        size_t copy, piece, run;
    };

    // The boxes of the copies, each over each run of its path (or over all
    // frames when it does not move), and the pairs of them that meet.
    bool copiesThatMeet(std::vector<SpanBox>& boxes, std::vector<Owner>& owners,
                        std::vector<std::pair<size_t, size_t>>& pairs, double& work, double most) const
    {
        for (size_t c = 0; c < copies_.size(); ++c) {
            const SplitCopy& copy = copies_[c];
            if (copy.motion == SplitCopy::Moved)
                for (size_t r = 0; r < copy.runs.size(); ++r)
                    add(boxes, owners, copyOverRun(copy, copy.runs[r]), Owner{c, 0, r});
            else if (copy.motion == SplitCopy::Rest && !copy.area.drawn.empty())
                add(boxes, owners, restBox(copy.area.drawn.pieces, true), Owner{c, 0, 0});
        }
        return boxesThatMeet(boxes, pairs, work, most);
    }

    void add(std::vector<SpanBox>& boxes, std::vector<Owner>& owners, SpanBox box, Owner owner) const
    {
        box.area = owner.copy;
        boxes.push_back(box);
        owners.push_back(owner);
    }

    // Whether two copies whose boxes `p` and `q` over their runs meet stay
    // apart: one that moves keeps within its ring (ringOverRun) about the box
    // of where `about` goes, one at rest within its box.
    bool ringsApart(const SpanBox& p, const Owner& a, const SpanBox& q, const Owner& b) const
    {
        SpanBox about[2] = {p, q};
        double ring[2] = {0.0, 0.0};
        for (const Owner* o : {&a, &b}) {
            const SplitCopy& copy = copies_[o->copy];
            if (copy.motion != SplitCopy::Moved)
                continue;
            const PathRun& run = copy.runs[o->run];
            SpanBox& at = about[o == &b];
            at.minX = run.low[4], at.maxX = run.high[4], at.minY = run.low[5], at.maxY = run.high[5];
            ring[o == &b] = ringOverRun(copy, run);
        }
        const double dx = std::max({0.0, about[0].minX - about[1].maxX, about[1].minX - about[0].maxX});
        const double dy = std::max({0.0, about[0].minY - about[1].maxY, about[1].minY - about[0].maxY});
        return std::hypot(dx, dy) > ring[0] + ring[1];
    }

    // Whether two pieces whose boxes meet may meet: each where the first frame
    // of its run puts it, grown by how far it strays over the run, with the
    // skins of both (the first grown by all of it at once). A band is taken
    // to meet what its box meets.
    bool mayMeet(const Owner& p, const Owner& q) const
    {
        double reach = 2.0 * kSkin + kReachMargin;
        Polygon placed[2];
        for (const Owner* o : {&p, &q}) {
            const SplitCopy& copy = copies_[o->copy];
            if (o->piece >= copy.area.filled)
                return true;
            const bool moves = copy.motion == SplitCopy::Moved;
            reach += moves ? copy.runs[o->run].drift : 0.0;
            placed[o == &q] = moves ? copy.placedFill(o->piece, copy.moves[copy.runs[o->run].first])
                                    : copy.area.painted[o->piece];
        }
        return grownPieceMeets(placed[0], reach, placed[1]);
    }

    // The box of piece j of copy c over run r of its path, or over every
    // frame when it does not move.
    SpanBox boxAt(size_t c, size_t j, size_t r) const
    {
        const SplitCopy& copy = copies_[c];
        if (copy.motion == SplitCopy::Moved)
            return boxOverRun(copy, j, copy.runs[r]);
        return restBox({copy.area.drawn.pieces[j]}, true);
    }

    // The box of `pieces`; when `still`, over every frame.
    SpanBox restBox(const std::vector<Polygon>& pieces, bool still) const
    {
        double at[4] = {HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL};
        for (const Polygon& p : pieces)
            for (const AreaPoint& q : p)
                widen(at, q.x, q.y);
        SpanBox b;
        b.minX = at[0], b.maxX = at[1], b.minY = at[2], b.maxY = at[3];
        b.last = still ? frames_.count() - 1.0 : 0.0;
        b.still = still;
        return b;
    }

    // Adds piece j of copy c, where frame f puts it, to what it draws in
    // `areas`. The fills come first, as in what it draws, whatever order the
    // pieces are added in.
    void place(std::vector<CopyArea>& areas, size_t c, size_t j, size_t f) const
    {
        const SplitCopy& copy = copies_[c];
        Polygon piece = copy.motion == SplitCopy::Moved ? copy.placedPiece(j, copy.moves[f]) : copy.area.drawn.pieces[j];
        std::vector<Polygon>& pieces = areas[c].drawn.pieces;
        if (j < copy.area.filled)
            pieces.insert(pieces.begin() + std::ptrdiff_t(areas[c].filled++), std::move(piece));
        else
            pieces.push_back(std::move(piece));
    }

    GroupsMeet compareFrames()
    {
        const size_t n = copies_.size();
        std::vector<Compared> active;
        size_t next = 0;
        std::vector<size_t> run(n, 0);
        for (size_t f = 0; f < size_t(frames_.count()); ++f) {
            if (!reshaped_ && active.empty()) {
                if (next == compared_.size())
                    break;
                f = std::max(f, compared_[next].first);
            }
            for (; next < compared_.size() && compared_[next].first <= f; ++next)
                active.push_back(compared_[next]);
            active.erase(std::remove_if(active.begin(), active.end(), [&](const Compared& c) { return c.last < f; }),
                         active.end());
            const StreamReadTime readAt(frames_.at(frames_.first + double(f)));
            std::vector<CopyArea> areas(n);
            double work = 0.0;
            SpanBox built = restBox({}, false);
            if (reshaped_ && readReach(suites_, build_, copies_))
                return GroupsMeet::Untold;
            for (size_t c = 0; c < n; ++c) {
                SplitCopy& copy = copies_[c];
                if (copy.motion != SplitCopy::Reshaped)
                    continue;
                areas[c] = drawnBy(build_, copy.items, placement_, frame_, copy.styles);
                work += kBuildWork * double(areas[c].drawn.pieces.size());
                const SpanBox b = restBox(areas[c].drawn.pieces, false);
                built.minX = std::min(built.minX, b.minX), built.maxX = std::max(built.maxX, b.maxX);
                built.minY = std::min(built.minY, b.minY), built.maxY = std::max(built.maxY, b.maxY);
            }
            std::vector<std::vector<bool>> taken(n);
            const auto take = [&](size_t c, size_t j) {
                const SplitCopy& copy = copies_[c];
                taken[c].resize(copy.area.drawn.pieces.size());
                if (taken[c][j])
                    return;
                taken[c][j] = true;
                work += kComparedWork;
                place(areas, c, j, f);
            };
            for (const Compared& c : active)
                take(c.copy, c.piece);
            // What a copy built again may meet: the pieces of the others whose
            // boxes over this frame meet its box.
            for (size_t c = 0; reshaped_ && c < n; ++c) {
                const SplitCopy& copy = copies_[c];
                if (copy.motion == SplitCopy::Reshaped || copy.area.drawn.empty())
                    continue;
                while (copy.motion == SplitCopy::Moved && copy.runs[run[c]].last < f)
                    ++run[c];
                for (size_t j = 0; j < copy.area.drawn.pieces.size(); ++j) {
                    const SpanBox b = boxAt(c, j, run[c]);
                    if (b.minX <= built.maxX && built.minX <= b.maxX && b.minY <= built.maxY && built.minY <= b.maxY)
                        take(c, j);
                }
            }
            if (!spend(work))
                return GroupsMeet::KeyedTooLong;
            const GroupsMeet now = howAreasMeet(areas, GroupsMeet::OverlapWhileMoving);
            if (now != GroupsMeet::Apart)
                return now;
        }
        return GroupsMeet::Apart;
    }

    const AEGP_SuiteHandler& suites_;
    const LayerBuild& build_;
    const LayerPlacement& placement_;
    const OutlineFrame& frame_;
    std::vector<SplitCopy>& copies_;
    const Frames& frames_;
    const double most_;
    double work_ = 0.0, needed_ = 0.0;
    // The work that telling what it needs counts and does not do.
    double untold_ = 0.0;
    bool reshaped_ = false;
    ItemPlacement groupPlacement_;
    bool placed_ = false;
    std::vector<Compared> compared_;
};

} // namespace

std::vector<SplitCopy> copiesOf(const GroupSplit& split)
{
    std::vector<SplitCopy> copies;
    for (A_long k : split.separated()) {
        copies.emplace_back();
        copies.back().items = split.itemsOfLayerFor(k);
        copies.back().group = k;
    }
    if (!split.kept.empty()) {
        copies.emplace_back();
        copies.back().items = split.itemsOfSource();
    }
    return copies;
}

A_Err readReach(const AEGP_SuiteHandler& suites, const LayerBuild& build, std::vector<SplitCopy>& copies)
{
    std::vector<std::vector<StrokeStyle>> styles;
    const A_Err err =
        forEachContentsItem(suites, build.pluginId, build.layer, [&](size_t i, AEGP_StreamRefH item) -> A_Err {
            styles.emplace_back();
            for (const SplitCopy& copy : copies)
                if (i < copy.items.size() && copy.items[i])
                    return readStrokeStyles(suites, build, item, styles.back());
            return A_Err(A_Err_NONE);
        });
    for (SplitCopy& copy : copies) {
        copy.styles.clear();
        copy.reachOutside = copy.reachInside = 0.0;
        for (size_t i = 0; i < copy.items.size() && i < styles.size(); ++i)
            for (StrokeStyle style : styles[i]) {
                if (!copy.items[i])
                    break;
                style.inside = A_long(i) == copy.group;
                double& reach = style.inside ? copy.reachInside : copy.reachOutside;
                reach = std::max(reach, style.reach());
                StrokeStyle::add(copy.styles, style);
            }
    }
    return err;
}

KeySpan howCopiesChange(std::vector<SplitCopy>& copies, const std::vector<ItemKeys>& keys)
{
    KeySpan span;
    for (SplitCopy& copy : copies) {
        for (size_t i = 0; i < copy.items.size() && i < keys.size(); ++i)
            if (copy.items[i]) {
                copy.shape.widen(keys[i].shape);
                copy.move.widen(keys[i].move);
            }
        copy.motion = copy.shape.keyed || (copy.move.keyed && copy.group < 0) ? SplitCopy::Reshaped
                      : copy.move.keyed                                      ? SplitCopy::Moved
                                                                             : SplitCopy::Rest;
        span.widen(copy.shape);
        span.widen(copy.move);
    }
    return span;
}

double keyedWorkEstimate(const AEGP_SuiteHandler& suites, const LayerBuild& build, const LayerPlacement& placement,
                         const OutlineFrame& frame, const std::vector<SplitCopy>& copies, const Frames& frames,
                         double& read)
{
    double reads = 0.0;
    for (const SplitCopy& copy : copies)
        reads += readingWork(copy, frames);
    // The frames sampled: every one, or every so many.
    const double every = std::max(1.0, std::ceil(frames.count() / kSampledFrames));
    Frames sampled = frames;
    sampled.step.value = A_long(double(frames.step.value) * every);
    sampled.first = std::ceil(frames.first / every);
    sampled.last = std::max(sampled.first, std::floor(frames.last / every));
    std::vector<SplitCopy> sample = copies;
    KeyedComparison comparison(suites, build, placement, frame, sample, sampled, kMaxToldWork);
    const double told = comparison.told(every);
    read = 0.0;
    for (const SplitCopy& copy : copies)
        read += readingWork(copy, sampled);
    read += comparison.work();
    return reads + told;
}

KeyedVerdict compareKeyedCopies(const AEGP_SuiteHandler& suites, const LayerBuild& build,
                                const LayerPlacement& placement, const OutlineFrame& frame,
                                std::vector<SplitCopy>& copies, const Frames& frames, double most)
{
    KeyedComparison comparison(suites, build, placement, frame, copies, frames, most);
    KeyedVerdict verdict;
    verdict.meet = comparison.verdict();
    verdict.work = comparison.work();
    verdict.needed = comparison.needed();
    return verdict;
}
