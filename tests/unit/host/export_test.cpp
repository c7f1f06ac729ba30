// Export: the exact conversation with the host for single and batch exports,
// where the images land, and how each failure ends the export.
#include <algorithm>
#include <cstring>

#include "host/export.h"
#include "host/frame_import.h"
#include "host/turn_table.h"
#include "host_fixture.h"

namespace {

constexpr int kZoom2x = 0;
constexpr int kRotate = 6;  // keeps the size: the host's own project takes its result
constexpr int kAngle = 30;

std::string call(const char* name, int value) {
    return std::string(name) + "(" + std::to_string(value) + ")";
}

std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const std::vector<std::string>& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<std::string> queriesThen(const std::vector<std::string>& more) {
    return joined({{"GetCurrentProject", "GetFrameCount", "GetNumberOfLayers",
                    "GetDisplayFrameNumber", "GetActiveLayerNumber"},
                   more});
}

// New project 2 made by `made`, named, and given `added` layers.
std::vector<std::string> preparation(const char* made, int added) {
    std::vector<std::string> all = {made, "GetCurrentProject", "SetCurrentProject(2)",
                                    "SetCurrentFilename(hero_Marlune_1)"};
    all.insert(all.end(), added, "AddAnimationLayer");
    return all;
}

// Frame `f`, layer `l` of the source imported, then sent to project 2.
std::vector<std::string> imported(int f, int l) {
    return {"SetCurrentProject(1)", call("GotoFrame", f), call("SelectLayer", l), "SendFrame",
            "GetProjectFilePath",   "GetCurrentDelay"};
}
std::vector<std::string> sent(int f, int l, int delay) {
    return {call("GotoFrame", f), call("SelectLayer", l), "ReceiveFrame",
            call("SetCurrentDelay", delay)};
}
std::vector<std::string> batchPair(int f, int l) {
    return joined({imported(f, l), {"SetCurrentProject(2)"}, sent(f, l, 10 * f + 5)});
}
// A turn-table's layer `l`: imported from the shown frame 1, sent as `turns` frames.
std::vector<std::string> turnedLayer(int l, int turns) {
    std::vector<std::string> all = joined({imported(1, l), {"SetCurrentProject(2)"}});
    for (int k = 1; k <= turns; ++k) all = joined({all, sent(k, l, 15)});
    return all;
}

}  // namespace

class Export : public HostTest {
  public:
    // Frame 1, layer 0 grabbed through the flow; the commands start afresh.
    void grab(const std::vector<int>& flow) {
        flow_ = flow;
        buildFlow(state.chain, flow, kAngle);
        ASSERT_TRUE(ImportImage(state, nullptr, 1, 0, error)) << error.text;
        host.commands.clear();
    }
    LayerPixels result(int frame, int layer) { return throughFlow(flow_, kAngle, frame, layer); }
    // The source project holds exactly these frames, under its own name.
    void expectSource(const std::vector<Frame>& frames) {
        const Project& now = *host.model.find(kSource);
        EXPECT_TRUE(now.frames == frames && now.name == sourceBefore.name &&
                    now.palette == sourceBefore.palette);
    }

  private:
    std::vector<int> flow_;
};

TEST_F(Export, SingleGoesWhereTheHostStandsOrToFrameOneOfANewProject) {
    grab({kRotate});
    host.model.current()->currentFrame = 3;
    ASSERT_TRUE(ExportSingle(state, nullptr, false, false, error)) << error.text;
    EXPECT_EQ(host.commands, queriesThen({"GotoFrame(3)", "SelectLayer(0)", "ReceiveFrame"}));
    std::vector<Frame> expected = sourceBefore.frames;
    expected[2].layers[0] = result(1, 0);
    expectSource(expected);

    // A base file name too long for the command is cut so that it still closes.
    std::memset(state.baseFileName, 'b', kBaseFileNameBytes - 1);
    state.exportCounter = 123455;
    host.commands.clear();
    ASSERT_TRUE(ExportSingle(state, nullptr, true, false, error)) << error.text;
    const std::string name = std::string(92, 'b') + "_Marlune_123456";  // 127 characters in all
    EXPECT_EQ(host.commands,
              queriesThen({"New(1,5,3)", "GetCurrentProject", "SetCurrentProject(2)",
                           "SetCurrentFilename(" + name + ")", "SetCurrentProject(1)",
                           "SetCurrentProject(2)", "GotoFrame(1)", "SelectLayer(0)", "ReceiveFrame",
                           "SetCurrentDelay(-1)"}));
    const Project& made = *host.model.find(2);
    EXPECT_EQ(made.name, name);
    EXPECT_EQ(made.frameCount() * made.layerCount(), 1);
    EXPECT_EQ(made.pixels(1, 0), result(1, 0));
    expectSource(expected);
}

TEST_F(Export, BatchIntoANewProjectFollowsTheCommandTable) {
    grab({kZoom2x});
    ASSERT_TRUE(ExportBatch(state, nullptr, true, true, true, error)) << error.text;
    std::vector<std::string> expected = queriesThen(preparation("New(3,10,6)", 1));
    for (int f = 1; f <= 3; ++f) {
        for (int l = 0; l <= 1; ++l) expected = joined({expected, batchPair(f, l)});
    }
    EXPECT_EQ(host.commands, expected);
    const Project& made = *host.model.find(2);
    EXPECT_EQ(made.name, "hero_Marlune_1");
    ASSERT_EQ(made.frameCount() * made.layerCount(), 6);
    for (int f = 1; f <= 3; ++f) {
        EXPECT_EQ(made.frames[f - 1].delay, 10 * f + 5);
        for (int l = 0; l < 2; ++l) EXPECT_EQ(made.pixels(f, l), result(f, l)) << f << "/" << l;
    }
    expectSource(sourceBefore.frames);
    EXPECT_EQ(layerOf(*state.chain.source()), sourceBefore.pixels(3, 1));  // the last pair
    // It went out with the header a blank image is made with.
    EXPECT_EQ(std::memcmp(host.clipboard.content->data(),
                          state.chain.displayedImage()->header.get(), kHeaderBlockBytes),
              0);
    EXPECT_STREQ(error.text, "undefined error");
    const std::vector<std::string> log = logLines();
    for (const char* line : {"Export new_project: 1, all_layers: 1, all_frames: 1",
                             "Active layer --------------- 0", "new project id = 2"}) {
        EXPECT_EQ(std::count(log.begin(), log.end(), line), 1) << line;
    }
    EXPECT_EQ(std::count(log.begin(), log.end(), "returned value for receive frame = 3"), 2);
}

TEST_F(Export, BatchIntoTheCurrentProjectReplacesEveryPairWithItsOwnResult) {
    grab({kRotate});
    ASSERT_TRUE(ExportBatch(state, nullptr, false, true, true, error)) << error.text;
    std::vector<std::string> expected = queriesThen({});
    std::vector<Frame> frames = sourceBefore.frames;
    for (int f = 1; f <= 3; ++f) {
        for (int l = 0; l <= 1; ++l) {
            expected.insert(
                expected.end(),
                {call("GotoFrame", f), call("SelectLayer", l), "SendFrame", "GetProjectFilePath",
                 "GetCurrentDelay", call("GotoFrame", f), call("SelectLayer", l), "ReceiveFrame"});
            frames[f - 1].layers[l] = result(f, l);
        }
    }
    EXPECT_EQ(host.commands, expected);
    EXPECT_EQ(host.model.projects.size(), 1u);
    expectSource(frames);
}

// Turns: the shown frame (1, where the grab left the host) imported once per
// layer, then one frame per turn at 30, 150 and 270 degrees, each with its
// delay; the angle is put back.
TEST_F(Export, TurnTableImportsEachLayerOnceAndTurnsIt) {
    grab({kRotate});
    ASSERT_TRUE(ExportTurnTable(state, nullptr, 3, true, error)) << error.text;
    EXPECT_EQ(
        host.commands,
        queriesThen(joined({preparation("New(3,5,3)", 1), turnedLayer(0, 3), turnedLayer(1, 3)})));
    const Project& made = *host.model.find(2);
    for (int l = 0; l <= 1; ++l) {
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(made.pixels(k, l), throughFlow({kRotate}, 30 + 120 * (k - 1), 1, l)) << k;
    }
    EXPECT_EQ(made.frames[2].delay, 15);
    EXPECT_EQ(state.chain.settings().angleDegrees, kAngle);
    expectSource(sourceBefore.frames);
}

TEST(TurnsBox, TwoToSixtyFourMakeASheetBlankAndOneLeaveItOff) {
    const std::pair<const char*, int> cases[] = {
        {"2", 2},   {"64", 64}, {" 8 ", 8}, {"", 0},    {"  ", 0},  {"1", 0},
        {"65", -1}, {"0", -1},  {"-2", -1}, {"+8", -1}, {"8x", -1}, {"99999999999", -1},
    };
    for (const auto& [text, turns] : cases)
        EXPECT_EQ(parseTurns(text), turns) << '"' << text << '"';
}

// A cancel asked for while a command is in flight, in each phase: what is in
// flight completes (a pair, a turn-table's import, the new project with its
// name, a layer), no command follows, what was made stays; the progress
// reported each step before it began; the message says how far it got.
struct StopCase {
    std::vector<std::string> switches;
    int turns;          // 0: a batch of all frames and layers into a new project
    std::string after;  // the cancel comes during the `nth` command starting so
    int nth;
    std::vector<std::string> sent;  // after the five queries
    std::vector<std::string> reports;
    std::string message;
};

class ExportStop : public Export, public testing::WithParamInterface<StopCase> {};

TEST_P(ExportStop, EndsAfterTheStepInFlightAndSaysWhere) {
    const StopCase& stop = GetParam();
    grab({kZoom2x});
    host.use(stop.switches);
    ExportProgress progress;
    std::vector<std::string> reports;
    progress.preparing = [&](int layer, int layers) {
        reports.push_back("layer " + std::to_string(layer) + " of " + std::to_string(layers));
    };
    progress.beforePair = [&](int f, int frames, int l, int layers) {
        reports.push_back(std::to_string(f) + "/" + std::to_string(frames) + " " +
                          std::to_string(l) + "/" + std::to_string(layers));
    };
    int seen = 0;
    host.afterCommand = [&](const std::string& command) {
        if (command.rfind(stop.after, 0) == 0 && ++seen == stop.nth)
            progress.cancelRequested = true;
    };
    EXPECT_FALSE(stop.turns > 0
                     ? ExportTurnTable(state, nullptr, stop.turns, true, error, &progress)
                     : ExportBatch(state, nullptr, true, true, true, error, &progress));
    EXPECT_TRUE(progress.cancelled);
    EXPECT_EQ(error.text, stop.message);
    EXPECT_EQ(host.commands, queriesThen(stop.sent));
    EXPECT_EQ(reports, stop.reports);
    expectSource(sourceBefore.frames);
    ASSERT_EQ(host.model.projects.size(), stop.sent.empty() ? 1u : 2u);
    if (!stop.sent.empty()) {
        EXPECT_EQ(host.model.find(2)->name, "hero_Marlune_1");
    }
}

std::vector<std::string> preparing(int upTo, int layers) {
    std::vector<std::string> reports;
    for (int layer = 1; layer <= upTo; ++layer)
        reports.push_back("layer " + std::to_string(layer) + " of " + std::to_string(layers));
    return reports;
}
std::string stoppedAtLayer(int layer) {
    return "Batch cancelled while preparing the new project (layer " + std::to_string(layer) +
           " of 100000)";
}

// The host claims 100000 layers: the preparation alone would send 99999 "AddAnimationLayer".
const std::vector<std::string> kClaims = {"--claim-layers", "100000"};
const std::vector<std::string> kNothing;
const std::vector<std::string> kNewProject = preparation("New(3,10,6)", 1);

INSTANTIATE_TEST_SUITE_P(
    Phases, ExportStop,
    testing::Values(
        StopCase{kClaims, 0, "GetActiveLayerNumber", 1, kNothing, kNothing, stoppedAtLayer(0)},
        StopCase{kClaims, 0, "New(", 1, preparation("New(3,10,6)", 0), preparing(1, 100000),
                 stoppedAtLayer(1)},
        StopCase{kClaims, 0, "AddAnimationLayer", 5, preparation("New(3,10,6)", 5),
                 preparing(6, 100000), stoppedAtLayer(6)},
        StopCase{kClaims, 3, "AddAnimationLayer", 3, preparation("New(3,10,6)", 3),
                 preparing(4, 100000), stoppedAtLayer(4)},
        StopCase{kNothing, 3, "SendFrame", 1, joined({kNewProject, imported(1, 0)}),
                 preparing(2, 2), "Batch cancelled after 0 of 6 frames"},
        StopCase{kNothing, 3, "ReceiveFrame", 3, joined({kNewProject, turnedLayer(0, 3)}),
                 joined({preparing(2, 2), {"1/3 1/2", "2/3 1/2", "3/3 1/2"}}),
                 "Batch cancelled after 3 of 6 frames"},
        StopCase{kNothing, 0, "SendFrame", 2,
                 joined({kNewProject, batchPair(1, 0), batchPair(1, 1)}),
                 joined({preparing(2, 2), {"1/3 1/2", "1/3 2/2"}}),
                 "Batch cancelled after 2 of 6 frames"}));

TEST_F(Export, NewProjectIsTheOneTheHostReportsUnlessThatIsTheSource) {
    grab({kRotate});
    // The host makes project 2 but goes on reporting the source as current.
    host.use({"--reply", "GetCurrentProject=1"});
    ASSERT_TRUE(ExportSingle(state, nullptr, true, false, error)) << error.text;
    EXPECT_EQ(host.model.find(2)->pixels(1, 0), result(1, 0));

    // It makes project 4 but reports project 3 as current: 3 takes the image.
    host.options.replies.clear();
    host.model.addProject(makeBlankProject(1, 5, 3, greyPalette()));
    host.model.currentId = kSource;
    host.afterCommand = [this](const std::string& command) {
        if (command.rfind("New(", 0) == 0) host.model.currentId = 3;
    };
    ASSERT_TRUE(ExportSingle(state, nullptr, true, false, error)) << error.text;
    EXPECT_EQ(host.model.find(3)->pixels(1, 0), result(1, 0));
    EXPECT_EQ(host.model.find(3)->name, "hero_Marlune_2");
    EXPECT_EQ(host.model.find(4)->pixels(1, 0), LayerPixels(15, 0));
    expectSource(sourceBefore.frames);
}

// A batch of all frames and layers into a new project fails at one point: its
// message, and what the host holds afterwards. The source is never touched;
// pairs delivered before the failure stay delivered.
struct ExportFault {
    std::vector<std::string> switches;
    std::string message;
    std::size_t projects;
    int delivered;  // pairs of the new project holding their result, in order
};

class ExportFailure : public Export, public testing::WithParamInterface<ExportFault> {};

TEST_P(ExportFailure, EndsWithItsMessageAndTouchesNothingElse) {
    grab({kZoom2x});
    host.use(GetParam().switches);
    EXPECT_FALSE(ExportBatch(state, nullptr, true, true, true, error));
    EXPECT_EQ(error.text, GetParam().message);
    expectSource(sourceBefore.frames);
    ASSERT_EQ(host.model.projects.size(), GetParam().projects);
    if (GetParam().projects == 1) return;
    const Project& made = *host.model.find(2);
    for (int pair = 0; pair < made.frameCount() * made.layerCount(); ++pair) {
        const int f = pair / made.layerCount() + 1;
        const int l = pair % made.layerCount();
        EXPECT_EQ(made.pixels(f, l),
                  pair < GetParam().delivered ? result(f, l) : LayerPixels(60, 0))
            << pair;
    }
}

TEST_F(Export, OneLayerAddsNoLayer) {
    grab({kRotate});
    host.use({"--reply", "GetNumberOfLayers=1"});
    ASSERT_TRUE(ExportBatch(state, nullptr, true, true, false, error)) << error.text;
    EXPECT_EQ(std::count(host.commands.begin(), host.commands.end(), "AddAnimationLayer"), 0);
    EXPECT_EQ(host.model.find(2)->pixels(1, 0), result(1, 0));
}

TEST_F(Export, NothingToSendBeforeAGrab) {
    EXPECT_FALSE(ExportSingle(state, nullptr, false, false, error));
    EXPECT_STREQ(error.text, "ERROR: nothing to send: grab an image first");
    EXPECT_TRUE(host.commands.empty());
    EXPECT_EQ(logLines().back(), "ERROR:nothing to send");
}

// The message of a command the host did not answer.
std::string unanswered(const std::string& command) {
    return "Failed to request '" + command + "' from Kelvara!\n";
}
const std::string kNotMade = "Failed to create a new Kelvara project (New(3,10,6))\n";
const std::string kUnconfirmed = "ERROR: the host did not confirm 6 of 6 frames";

INSTANTIATE_TEST_SUITE_P(
    Faults, ExportFailure,
    testing::Values(
        ExportFault{{"--new-id", "1"}, kNotMade, 1, 0},
        ExportFault{{"--reply", "New=-1"}, kNotMade, 2, 0},
        ExportFault{{"--new-id", "9"}, "Failed to switch to project '9' in Kelvara!\n", 1, 0},
        ExportFault{{"--refuse", "AddAnimationLayer=ERROR: too many layers"},
                    unanswered("AddAnimationLayer"),
                    2,
                    0},
        ExportFault{{"--hang", "SetCurrentFilename"},
                    unanswered("SetCurrentFilename(hero_Marlune_1)"),
                    2,
                    0},
        ExportFault{{"--reply", "AddAnimationLayer=3"}, "Failed to add a new layer (1)\n", 2, 0},
        ExportFault{{"--reply", "GetFrameCount=0"}, "ERROR: the project has no frames", 1, 0},
        ExportFault{
            {"--reply", "GetNumberOfLayers=-2147483648"}, "ERROR: the project has no layers", 1, 0},
        ExportFault{{"--hang", "GetActiveLayerNumber"}, unanswered("GetActiveLayerNumber"), 1, 0},
        ExportFault{{"--hang", "GetCurrentDelay"}, unanswered("GetCurrentDelay"), 2, 0},
        ExportFault{
            {"--stale-clipboard", "2"}, "ERROR: the host put no new image on the clipboard", 2, 2},
        ExportFault{
            {"--refuse", "ReceiveFrame=ERROR: project locked"}, "ERROR: project locked", 2, 0},
        ExportFault{{"--no-data", "ReceiveFrame"}, kUnconfirmed, 2, 6},
        ExportFault{{"--hang", "ReceiveFrame"}, kUnconfirmed, 2, 0},
        ExportFault{{"--reply", "SetCurrentDelay=0"}, "Failed to set frame delay", 2, 1},
        ExportFault{{"--hang", "SetCurrentDelay"}, unanswered("SetCurrentDelay(15)"), 2, 1},
        // The grab (4 commands), the preparation (10), two pairs (22), and the
        // third pair's three switches: then the host is gone.
        ExportFault{{"--quit-after", "39"}, "Kelvara is inactive!!", 2, 2},
        // The switch to the new project's frame: refused (it made two frames
        // of the three asked for), lost (the host went after the third pair's
        // switch to the new project).
        ExportFault{{"--new-frames", "2"}, "Failed to switch to frame '3' in Kelvara!\n", 2, 4},
        ExportFault{{"--quit-after", "43"}, "Kelvara is inactive!!", 2, 2},
        ExportFault{{"--fail-clipboard-write"},
                    "ERROR: frame 1, layer 0 could not be put on the clipboard",
                    2,
                    0}));
