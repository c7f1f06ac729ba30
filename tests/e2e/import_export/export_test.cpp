// Export over real DDE and the real clipboard, against the stand-in host: the
// conversation, where every image lands, what else stays untouched, and how
// a host that hangs or quits mid-batch ends the export.
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "host/commands.h"
#include "host/export.h"
#include "host/frame_import.h"
#include "hosted_state.h"
#include "passes/pass_chain.h"

namespace {

constexpr int kScale2x = 2;
constexpr int kRotate = 6;
constexpr int kRotateUnzoom8x = 10;
constexpr int kAngle = 30;

// Rotation in the manner of RotSprite: three Scale2x, then rotate and shrink by 8.
void buildRotSpriteFlow(PassChain& chain, HWND owner) {
    for (int kind : {kScale2x, kScale2x, kScale2x, kRotateUnzoom8x})
        chain.insertPass(owner, chain.size(), kind);
    chain.setRotationAngle(owner, kAngle);
}

// The flow's output for one source image, from a chain of the test's own.
std::unique_ptr<IndexedImage> rotSpriteOf(HWND owner, const IndexedImage& source) {
    PassChain chain;
    buildRotSpriteFlow(chain, owner);
    chain.setSource(copyImage(owner, source));
    chain.evaluate(owner);
    const IndexedImage* shown = chain.displayedImage();
    return shown != nullptr ? copyImage(owner, *shown) : nullptr;
}

std::vector<int> delaysOf(const std::map<std::string, std::string>& project) {
    std::vector<int> delays;
    std::istringstream in(project.at("delays"));
    for (std::string item; std::getline(in, item, ',');) delays.push_back(std::stoi(item));
    return delays;
}

// Every frame and layer of the sample project is as it was before the run.
void expectSampleUntouched(const HostDump& dump) {
    const int p = sampleProjectId();
    ASSERT_EQ(dump.projects.count(p), 1u);
    EXPECT_EQ(dump.projects.at(p).at("delays"), pristineSample().projects.at(p).at("delays"));
    for (const auto& [key, image] : pristineSample().layers) {
        const IndexedImage* now = dump.layer(key.project, key.frame, key.layer);
        ASSERT_NE(now, nullptr) << key.frame << "/" << key.layer;
        EXPECT_TRUE(sameImage(*now, *image)) << "frame " << key.frame << " layer " << key.layer;
    }
}

// The id of the one project the run added, or -1.
int addedProject(const HostDump& dump) {
    if (dump.projects.size() != 2) return -1;
    for (const auto& entry : dump.projects) {
        if (entry.first != sampleProjectId()) return entry.first;
    }
    return -1;
}

std::string withNumber(const char* name, int value) {
    return std::string(name) + "(" + std::to_string(value) + ")";
}

// What the host receives from an import of frame 1, layer 0 followed by a
// batch export with new project, all frames and all layers of the sample, the
// new project being `n` and the displayed image width x height.
std::vector<std::string> importAndBatchCommands(int n, int width, int height) {
    const auto& sample = pristineSample().projects.at(sampleProjectId());
    const int p = sampleProjectId();
    const int frames = std::stoi(sample.at("frames"));
    const int layers = std::stoi(sample.at("layers"));
    const std::vector<int> delays = delaysOf(sample);
    std::vector<std::string> commands = {"GotoFrame(1)",
                                         "SelectLayer(0)",
                                         "SendFrame",
                                         "GetProjectFilePath",
                                         "GetCurrentProject",
                                         "GetFrameCount",
                                         "GetNumberOfLayers",
                                         "GetDisplayFrameNumber",
                                         "GetActiveLayerNumber",
                                         "New(" + std::to_string(frames) + "," +
                                             std::to_string(width) + "," + std::to_string(height) +
                                             ")",
                                         "GetCurrentProject",
                                         withNumber("SetCurrentProject", n),
                                         "SetCurrentFilename(sample_Marlune_1)"};
    for (int k = 1; k < layers; ++k) commands.push_back("AddAnimationLayer");
    for (int f = 1; f <= frames; ++f) {
        for (int l = 0; l < layers; ++l) {
            const std::vector<std::string> pair = {withNumber("SetCurrentProject", p),
                                                   withNumber("GotoFrame", f),
                                                   withNumber("SelectLayer", l),
                                                   "SendFrame",
                                                   "GetProjectFilePath",
                                                   "GetCurrentDelay",
                                                   withNumber("SetCurrentProject", n),
                                                   withNumber("GotoFrame", f),
                                                   withNumber("SelectLayer", l),
                                                   "ReceiveFrame",
                                                   withNumber("SetCurrentDelay", delays.at(f - 1))};
            commands.insert(commands.end(), pair.begin(), pair.end());
        }
    }
    return commands;
}

}  // namespace

TEST(Export, SingleIntoTheCurrentProjectReplacesOnlyTheDisplayedLayer) {
    HostedRun run;
    ASSERT_TRUE(run.ready()) << run.problem();
    HWND owner = run.owner();
    run.state.chain.insertPass(owner, 0, kRotate);  // keeps the size the host's project has
    run.state.chain.setRotationAngle(owner, kAngle);
    ASSERT_TRUE(ImportImage(run.state, owner, 1, 1, run.error)) << run.error.text;
    const auto sent = copyImage(owner, *run.state.chain.displayedImage());
    // The host now shows another frame and layer than the one imported.
    ASSERT_TRUE(SwitchFrame(run.state.link, 3, run.error));
    ASSERT_TRUE(SwitchLayer(run.state.link, 0, run.error));

    ASSERT_TRUE(ExportSingle(run.state, owner, false, false, run.error)) << run.error.text;
    run.finish();

    const int p = sampleProjectId();
    const std::vector<std::string> expected = {
        "GotoFrame(1)",          "SelectLayer(1)",       "SendFrame",
        "GetProjectFilePath",    "GotoFrame(3)",         "SelectLayer(0)",
        "GetCurrentProject",     "GetFrameCount",        "GetNumberOfLayers",
        "GetDisplayFrameNumber", "GetActiveLayerNumber", "GotoFrame(3)",
        "SelectLayer(0)",        "ReceiveFrame"};
    EXPECT_EQ(run.commands(), expected);
    ASSERT_EQ(run.dump().projects.size(), 1u);
    for (const auto& [key, before] : pristineSample().layers) {
        const IndexedImage* now = run.dump().layer(key.project, key.frame, key.layer);
        ASSERT_NE(now, nullptr);
        const bool target = key.project == p && key.frame == 3 && key.layer == 0;
        EXPECT_TRUE(sameImage(*now, target ? *sent : *before))
            << "frame " << key.frame << " layer " << key.layer;
    }
}

TEST(Export, SingleIntoANewProjectNamesItAndPutsTheImageAtFrameOneLayerZero) {
    HostedRun run;
    ASSERT_TRUE(run.ready()) << run.problem();
    HWND owner = run.owner();
    run.state.chain.insertPass(owner, 0, kScale2x);
    ASSERT_TRUE(ImportImage(run.state, owner, 2, 1, run.error)) << run.error.text;
    const auto sent = copyImage(owner, *run.state.chain.displayedImage());

    ASSERT_TRUE(ExportSingle(run.state, owner, true, false, run.error)) << run.error.text;
    EXPECT_EQ(run.state.exportCounter, 1);
    run.finish();

    const int p = sampleProjectId();
    const int n = addedProject(run.dump());
    ASSERT_NE(n, -1);
    const std::vector<std::string> expected = {"GotoFrame(2)",
                                               "SelectLayer(1)",
                                               "SendFrame",
                                               "GetProjectFilePath",
                                               "GetCurrentProject",
                                               "GetFrameCount",
                                               "GetNumberOfLayers",
                                               "GetDisplayFrameNumber",
                                               "GetActiveLayerNumber",
                                               "New(1,96,96)",
                                               "GetCurrentProject",
                                               withNumber("SetCurrentProject", n),
                                               "SetCurrentFilename(sample_Marlune_1)",
                                               withNumber("SetCurrentProject", p),
                                               withNumber("SetCurrentProject", n),
                                               "GotoFrame(1)",
                                               "SelectLayer(0)",
                                               "ReceiveFrame",
                                               "SetCurrentDelay(-1)"};
    EXPECT_EQ(run.commands(), expected);
    const auto& made = run.dump().projects.at(n);
    EXPECT_EQ(made.at("name"), "sample_Marlune_1");
    EXPECT_EQ(made.at("frames"), "1");
    EXPECT_EQ(made.at("layers"), "1");
    const IndexedImage* image = run.dump().layer(n, 1, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(sameImage(*image, *sent));
    expectSampleUntouched(run.dump());
}

TEST(Export, BatchOfEveryFrameAndLayerThroughTheRotSpriteFlow) {
    HostedRun run;
    ASSERT_TRUE(run.ready()) << run.problem();
    HWND owner = run.owner();
    buildRotSpriteFlow(run.state.chain, owner);
    ASSERT_TRUE(ImportImage(run.state, owner, 1, 0, run.error)) << run.error.text;
    const IndexedImage* shown = run.state.chain.displayedImage();
    ASSERT_NE(shown, nullptr);
    const int width = shown->width;
    const int height = shown->height;

    ASSERT_TRUE(ExportBatch(run.state, owner, true, true, true, run.error)) << run.error.text;
    run.finish();

    const HostDump& before = pristineSample();
    const int p = sampleProjectId();
    const int frames = std::stoi(before.projects.at(p).at("frames"));
    const int layers = std::stoi(before.projects.at(p).at("layers"));
    ASSERT_GE(frames, 4);
    ASSERT_GE(layers, 2);
    const int n = addedProject(run.dump());
    ASSERT_NE(n, -1);
    EXPECT_EQ(run.commands(), importAndBatchCommands(n, width, height));

    const auto& made = run.dump().projects.at(n);
    EXPECT_EQ(made.at("name"), "sample_Marlune_1");
    EXPECT_EQ(made.at("layers"), std::to_string(layers));
    EXPECT_EQ(made.at("delays"), before.projects.at(p).at("delays"));
    for (int f = 1; f <= frames; ++f) {
        for (int l = 0; l < layers; ++l) {
            const IndexedImage* source = before.layer(p, f, l);
            const IndexedImage* result = run.dump().layer(n, f, l);
            ASSERT_NE(source, nullptr);
            ASSERT_NE(result, nullptr);
            const auto reference = rotSpriteOf(owner, *source);
            ASSERT_NE(reference, nullptr);
            EXPECT_TRUE(sameImage(*result, *reference)) << "frame " << f << " layer " << l;
        }
    }
    expectSampleUntouched(run.dump());
}

TEST(Export, HostHangingOnAProjectSwitchEndsTheBatch) {
    HostedRun run({"--hang", "SetCurrentProject"});
    ASSERT_TRUE(run.ready()) << run.problem();
    HWND owner = run.owner();
    run.state.chain.insertPass(owner, 0, kScale2x);
    ASSERT_TRUE(ImportImage(run.state, owner, 1, 0, run.error)) << run.error.text;

    EXPECT_FALSE(ExportBatch(run.state, owner, true, true, true, run.error));
    run.finish();
    const int n = addedProject(run.dump());
    ASSERT_NE(n, -1);
    EXPECT_EQ(std::string(run.error.text),
              "Failed to request '" + withNumber("SetCurrentProject", n) + "' from Kelvara!\n");
    EXPECT_EQ(run.commands().back(), withNumber("SetCurrentProject", n));
    expectSampleUntouched(run.dump());
}

TEST(Export, HostQuittingMidBatchEndsIt) {
    // The import (4), the preparation (10 with one added layer), the first
    // pair (11) and the second pair up to its name query (5); the host then
    // quits, after at most a command or two more that were already queued.
    constexpr std::size_t kServed = 4 + 10 + 11 + 5;
    HostedRun run({"--quit-after", std::to_string(kServed)});
    ASSERT_TRUE(run.ready()) << run.problem();
    HWND owner = run.owner();
    buildRotSpriteFlow(run.state.chain, owner);
    ASSERT_TRUE(ImportImage(run.state, owner, 1, 0, run.error)) << run.error.text;
    const int width = run.state.chain.displayedImage()->width;
    const int height = run.state.chain.displayedImage()->height;

    EXPECT_FALSE(ExportBatch(run.state, owner, true, true, true, run.error));
    // The preview holds the last frame and layer imported.
    EXPECT_NE(run.state.chain.displayedImage(), nullptr);
    run.finish();
    expectSampleUntouched(run.dump());
    const int n = addedProject(run.dump());
    ASSERT_NE(n, -1);

    // The host saw the batch's commands in order up to where it went away, and
    // the export ended naming the first command the host did not complete.
    const std::vector<std::string> all = importAndBatchCommands(n, width, height);
    const std::vector<std::string>& seen = run.commands();
    ASSERT_GE(seen.size(), kServed);
    ASSERT_LT(seen.size(), all.size());
    EXPECT_TRUE(std::equal(seen.begin(), seen.end(), all.begin()));
    // The failing command is the next one, or the last one logged when the
    // host took it in but quit before completing it; or, when the host quit
    // before a reply was read, the link found no host to connect to again.
    const std::string message = run.error.text;
    auto failure = [](const std::string& command) {
        return "Failed to request '" + command + "' from Kelvara!\n";
    };
    EXPECT_TRUE(message == failure(all[seen.size()]) || message == failure(all[seen.size() - 1]) ||
                message == "Kelvara is inactive!!")
        << message;

    const auto reference = rotSpriteOf(owner, *pristineSample().layer(sampleProjectId(), 1, 0));
    const IndexedImage* first = run.dump().layer(n, 1, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(sameImage(*first, *reference));
}
