// Export: the exact conversation with the host for single and batch exports,
// where the images land, and how each failure ends the export.
#include <cstring>
#include <string>
#include <vector>

#include "host/export.h"
#include "host/frame_import.h"
#include "host_fixture.h"

namespace {

constexpr int kZoom2x = 0;

// Every pixel as a 2 x 2 block, palette kept: what the chain's one pass makes.
HostImage zoomed(const HostImage& in) {
    HostImage out;
    out.width = in.width * 2;
    out.height = in.height * 2;
    out.palette = in.palette;
    out.rows.assign(static_cast<std::size_t>(out.stride()) * out.height, 0);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            out.rows[static_cast<std::size_t>(y) * out.stride() + x] = in.at(x / 2, y / 2);
        }
    }
    return out;
}

// Pixels and palette; the row padding a pass leaves is not part of the image.
void expectSame(const HostImage& actual, const HostImage& expected, const std::string& where) {
    ASSERT_EQ(actual.width, expected.width) << where;
    ASSERT_EQ(actual.height, expected.height) << where;
    EXPECT_EQ(actual.palette, expected.palette) << where;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            ASSERT_EQ(actual.at(x, y), expected.at(x, y)) << where << " at " << x << "," << y;
        }
    }
}

std::string pairName(int f, int l) {
    return "frame " + std::to_string(f) + " layer " + std::to_string(l);
}

}  // namespace

class Export : public HostTest {
  protected:
    static constexpr int kNew = kSource + 1;  // the id the scripted host gives the next project

    void SetUp() override {
        HostTest::SetUp();
        HostProject& p = host.addProject(kSource, 3, 2, 5, 3);
        p.path = "C:\\sprites\\hero.walk.png";
        p.frame = 1;
        p.layer = 0;
        state.chain.insertPass(nullptr, 0, kZoom2x);
        ASSERT_TRUE(ImportImage(state, nullptr, 1, 0, error));
        host.sent.clear();
        restartLog();
    }

    // The source project exactly as the scripted host made it.
    void expectSourceUntouched() {
        const HostProject& p = host.project(kSource);
        ASSERT_EQ(p.frameCount(), 3);
        ASSERT_EQ(p.layerCount(), 2);
        for (int f = 1; f <= 3; ++f) {
            EXPECT_EQ(p.delays[f - 1], 10 * f + 5);
            for (int l = 0; l < 2; ++l) {
                expectSame(p.image(f, l), patternImage(5, 3, kSource, f, l),
                           "source " + pairName(f, l));
            }
        }
    }

    std::vector<std::string> queries() const {
        return {"GetCurrentProject", "GetFrameCount", "GetNumberOfLayers", "GetDisplayFrameNumber",
                "GetActiveLayerNumber"};
    }
};

TEST_F(Export, BatchIntoNewProjectFollowsTheCommandTable) {
    ASSERT_TRUE(ExportBatch(state, nullptr, true, true, true, error));

    std::vector<std::string> expected = queries();
    for (const char* c : {"New(3,10,6)", "GetCurrentProject", "SetCurrentProject(8)",
                          "SetCurrentFilename(hero_Marlune_1)", "AddAnimationLayer"}) {
        expected.push_back(c);
    }
    for (int f = 1; f <= 3; ++f) {
        for (int l = 0; l <= 1; ++l) {
            const std::string frame = "GotoFrame(" + std::to_string(f) + ")";
            const std::string layer = "SelectLayer(" + std::to_string(l) + ")";
            const std::string delay = "SetCurrentDelay(" + std::to_string(10 * f + 5) + ")";
            const std::vector<std::string> pair = {"SetCurrentProject(7)",
                                                   frame,
                                                   layer,
                                                   "SendFrame",
                                                   "GetProjectFilePath",
                                                   "GetCurrentDelay",
                                                   "SetCurrentProject(8)",
                                                   frame,
                                                   layer,
                                                   "ReceiveFrame",
                                                   delay};
            expected.insert(expected.end(), pair.begin(), pair.end());
        }
    }
    EXPECT_EQ(host.texts(), expected);
    for (const SentCommand& c : host.sent) {
        EXPECT_EQ(c.requests, c.text.rfind("SetCurrentFilename", 0) == 0 ? 0 : 1) << c.text;
    }

    const HostProject& made = host.project(kNew);
    EXPECT_EQ(made.filename, "hero_Marlune_1");
    ASSERT_EQ(made.frameCount(), 3);
    ASSERT_EQ(made.layerCount(), 2);
    for (int f = 1; f <= 3; ++f) {
        EXPECT_EQ(made.delays[f - 1], 10 * f + 5);
        for (int l = 0; l < 2; ++l) {
            expectSame(made.image(f, l), zoomed(patternImage(5, 3, kSource, f, l)), pairName(f, l));
        }
    }
    expectSourceUntouched();
    // The preview is left on the last pair processed.
    ASSERT_NE(state.chain.source(), nullptr);
    EXPECT_EQ(state.chain.source()->row(0)[0], patternImage(5, 3, kSource, 3, 1).at(0, 0));
    EXPECT_STREQ(error.text, "undefined error");

    const auto log = logLines();
    EXPECT_EQ(log.front(), "Export new_project: 1, all_layers: 1, all_frames: 1");
    EXPECT_TRUE(contains(log, "Active layer --------------- 0"));
    EXPECT_TRUE(contains(log, "new project id = 8"));
    EXPECT_EQ(std::count(log.begin(), log.end(), "returned value for receive frame = 1"), 6);
}

TEST_F(Export, SameImageToEveryPairOfTheCurrentProjectWithoutBatch) {
    ASSERT_TRUE(ExportImage(state, nullptr, false, true, true, false, error));
    std::vector<std::string> expected = queries();
    for (int f = 1; f <= 3; ++f) {
        for (int l = 0; l <= 1; ++l) {
            expected.push_back("GotoFrame(" + std::to_string(f) + ")");
            expected.push_back("SelectLayer(" + std::to_string(l) + ")");
            expected.push_back("ReceiveFrame");
        }
    }
    EXPECT_EQ(host.texts(), expected);
    const HostImage sent = zoomed(patternImage(5, 3, kSource, 1, 0));
    for (int f = 1; f <= 3; ++f) {
        for (int l = 0; l < 2; ++l)
            expectSame(host.project(kSource).image(f, l), sent, pairName(f, l));
    }
    EXPECT_EQ(host.projects.size(), 1u);
}

TEST_F(Export, SingleReplacesOnlyTheDisplayedFrameAndActiveLayer) {
    host.current().frame = 3;
    host.current().layer = 1;
    ASSERT_TRUE(ExportSingle(state, nullptr, false, false, error));

    std::vector<std::string> expected = queries();
    for (const char* c : {"GotoFrame(3)", "SelectLayer(1)", "ReceiveFrame"}) expected.push_back(c);
    EXPECT_EQ(host.texts(), expected);
    const HostProject& p = host.project(kSource);
    for (int f = 1; f <= 3; ++f) {
        for (int l = 0; l < 2; ++l) {
            const HostImage want = f == 3 && l == 1 ? zoomed(patternImage(5, 3, kSource, 1, 0))
                                                    : patternImage(5, 3, kSource, f, l);
            expectSame(p.image(f, l), want, pairName(f, l));
        }
    }
}

TEST_F(Export, SingleIntoNewProjectNamesItAndSendsDelayMinusOne) {
    host.current().frame = 2;
    host.current().layer = 1;
    ASSERT_TRUE(ExportSingle(state, nullptr, true, false, error));

    std::vector<std::string> expected = queries();
    for (const char* c :
         {"New(1,10,6)", "GetCurrentProject", "SetCurrentProject(8)",
          "SetCurrentFilename(hero_Marlune_1)", "SetCurrentProject(7)", "SetCurrentProject(8)",
          "GotoFrame(1)", "SelectLayer(0)", "ReceiveFrame", "SetCurrentDelay(-1)"}) {
        expected.push_back(c);
    }
    EXPECT_EQ(host.texts(), expected);
    const HostProject& made = host.project(kNew);
    ASSERT_EQ(made.frameCount(), 1);
    ASSERT_EQ(made.layerCount(), 1);
    expectSame(made.image(1, 0), zoomed(patternImage(5, 3, kSource, 1, 0)), "new project");
    expectSourceUntouched();
}

TEST_F(Export, DelayNotConfirmedFailsAfterTheImageArrived) {
    host.replies["SetCurrentDelay"] = "0";
    EXPECT_FALSE(ExportSingle(state, nullptr, true, false, error));
    EXPECT_STREQ(error.text, "Failed to set frame delay");
    expectSame(host.project(kNew).image(1, 0), zoomed(patternImage(5, 3, kSource, 1, 0)),
               "new project");
}

TEST_F(Export, CounterRisesOncePerNamedProjectEvenWhenTheExportFails) {
    host.refused.insert("SetCurrentFilename");
    EXPECT_FALSE(ExportSingle(state, nullptr, true, false, error));
    EXPECT_STREQ(error.text,
                 "Failed to request 'SetCurrentFilename(hero_Marlune_1)' from Kelvara!\n");
    EXPECT_EQ(state.exportCounter, 1);

    host.refused.clear();
    host.replies["SetCurrentProject"] = "-5";  // every switch now fails, after the naming
    EXPECT_FALSE(ExportSingle(state, nullptr, true, false, error));
    EXPECT_EQ(state.exportCounter, 1) << "the switch before naming failed";

    host.replies.clear();
    host.currentProject = kSource;
    ASSERT_TRUE(ExportSingle(state, nullptr, true, false, error));
    EXPECT_EQ(state.exportCounter, 2);
    EXPECT_EQ(host.projects.rbegin()->second.filename, "hero_Marlune_2");
}

TEST_F(Export, NewProjectRefused) {
    host.replies["New"] = "-1";
    EXPECT_FALSE(ExportSingle(state, nullptr, true, false, error));
    EXPECT_STREQ(error.text, "Failed to create a new Kelvara project (New(1,10,6))\n");
    EXPECT_EQ(host.texts().back(), "New(1,10,6)");
    EXPECT_EQ(state.exportCounter, 0);
}

TEST_F(Export, ThirdProjectReportedAsCurrentGetsTheImages) {
    host.addProject(20, 1, 1, 10, 6);
    host.afterCommand = [](ScriptedHost& h, const std::string& command) {
        if (command.rfind("New(", 0) == 0) h.currentProject = 20;
    };
    ASSERT_TRUE(ExportSingle(state, nullptr, true, false, error));
    EXPECT_TRUE(contains(host.texts(), "SetCurrentProject(20)"));
    EXPECT_FALSE(contains(host.texts(), "SetCurrentProject(21)"));
    expectSame(host.project(20).image(1, 0), zoomed(patternImage(5, 3, kSource, 1, 0)),
               "project 20");
    EXPECT_EQ(host.project(20).filename, "hero_Marlune_1");
}

TEST_F(Export, HostStillOnTheSourceProjectMeansTheNewIdIsUsed) {
    // The host answers New with an id but does not switch: R = P keeps N.
    host.afterCommand = [](ScriptedHost& h, const std::string& command) {
        if (command.rfind("New(", 0) == 0) h.currentProject = kSource;
    };
    ASSERT_TRUE(ExportSingle(state, nullptr, true, false, error));
    EXPECT_TRUE(contains(host.texts(), "SetCurrentProject(8)"));
    expectSame(host.project(kNew).image(1, 0), zoomed(patternImage(5, 3, kSource, 1, 0)),
               "new project");
}

TEST_F(Export, LayerAddedUnderAnotherNumberFails) {
    host.replies["AddAnimationLayer"] = "3";
    EXPECT_FALSE(ExportBatch(state, nullptr, true, true, true, error));
    EXPECT_STREQ(error.text, "Failed to add a new layer (1)\n");
    EXPECT_EQ(host.texts().back(), "AddAnimationLayer");
}

TEST_F(Export, SingleLayerSourceAddsNoLayer) {
    host.addProject(30, 2, 1, 4, 4);
    host.currentProject = 30;
    ASSERT_TRUE(ExportBatch(state, nullptr, true, true, true, error));
    EXPECT_FALSE(contains(host.texts(), "AddAnimationLayer"));
    const HostProject& made = host.project(31);
    ASSERT_EQ(made.layerCount(), 1);
    ASSERT_EQ(made.frameCount(), 2);
    for (int f = 1; f <= 2; ++f)
        expectSame(made.image(f, 0), zoomed(patternImage(4, 4, 30, f, 0)), pairName(f, 0));
}

TEST_F(Export, EmptyRangesSendNothingAfterThePreparation) {
    host.replies["GetFrameCount"] = "0";
    ASSERT_TRUE(ExportBatch(state, nullptr, true, false, true, error));
    EXPECT_EQ(host.texts().back(), "SetCurrentFilename(hero_Marlune_1)");
    EXPECT_TRUE(contains(host.texts(), "New(0,10,6)"));

    host.sent.clear();
    host.replies = {{"GetNumberOfLayers", "-2147483648"}};
    host.currentProject = kSource;
    ASSERT_TRUE(ExportBatch(state, nullptr, false, true, true, error));
    EXPECT_EQ(host.texts(), queries());

    host.sent.clear();
    host.replies = {{"GetFrameCount", "-7"}};
    ASSERT_TRUE(ExportImage(state, nullptr, false, false, true, false, error));
    EXPECT_EQ(host.texts(), queries());
    EXPECT_EQ(host.clipboardWrites, 0);
}

TEST_F(Export, NothingDisplayedSendsNothing) {
    state.chain.dropImages();
    EXPECT_FALSE(ExportBatch(state, nullptr, true, true, true, error));
    EXPECT_TRUE(host.sent.empty());
    EXPECT_STREQ(error.text, "undefined error");
    EXPECT_EQ(logLines(),
              (std::vector<std::string>{"Export new_project: 1, all_layers: 1, all_frames: 1",
                                        "ERROR:nothing to send"}));
}

TEST_F(Export, LongBaseNameIsCutSoTheCommandStillCloses) {
    for (int counter : {1, 9, 10, 123456}) {
        std::memset(state.baseFileName, 'b', kBaseFileNameBytes - 1);
        state.baseFileName[kBaseFileNameBytes - 1] = '\0';
        state.exportCounter = counter - 1;
        host.sent.clear();
        host.currentProject = kSource;
        ASSERT_TRUE(ExportSingle(state, nullptr, true, false, error));
        const std::string& command = host.sent.at(8).text;
        const std::string suffix = "_Marlune_" + std::to_string(counter) + ")";
        EXPECT_EQ(command.size(), 127u) << command;
        EXPECT_EQ(command.rfind("SetCurrentFilename(bbb", 0), 0u) << command;
        EXPECT_EQ(command.substr(command.size() - suffix.size()), suffix) << command;
    }
    // A name that fits is sent whole.
    std::memset(state.baseFileName, 0, kBaseFileNameBytes);
    std::memset(state.baseFileName, 'b', 97);
    state.exportCounter = 0;
    host.sent.clear();
    host.currentProject = kSource;
    ASSERT_TRUE(ExportSingle(state, nullptr, true, false, error));
    EXPECT_EQ(host.sent.at(8).text, "SetCurrentFilename(" + std::string(97, 'b') + "_Marlune_1)");
}

TEST_F(Export, FailedClipboardWriteSkipsOnlyTheReceive) {
    host.clipboardWriteFails = true;
    ASSERT_TRUE(ExportSingle(state, nullptr, true, false, error));
    EXPECT_FALSE(contains(host.texts(), "ReceiveFrame"));
    EXPECT_EQ(host.texts().back(), "SetCurrentDelay(-1)");
    EXPECT_TRUE(contains(logLines(), "ERROR: Failed to send bitmap to clipboard"));
}

TEST_F(Export, UnacknowledgedReceiveIsNotAFailure) {
    host.refused.insert("ReceiveFrame");
    ASSERT_TRUE(ExportImage(state, nullptr, false, true, true, false, error));
    int receives = 0;
    for (const SentCommand& c : host.sent) {
        if (c.text != "ReceiveFrame") continue;
        ++receives;
        EXPECT_EQ(c.requests, 0);
    }
    EXPECT_EQ(receives, 6);
    for (const std::string& line : logLines())
        EXPECT_EQ(line.rfind("returned value", 0), std::string::npos);
}

TEST_F(Export, BatchStopsAtTheFirstFailingStep) {
    struct Case {
        const char* refuse;
        const char* message;
    };
    const Case cases[] = {
        {"GetCurrentDelay", "Failed to request 'GetCurrentDelay' from Kelvara!\n"},
        {"SendFrame", "Failed to request 'SendFrame' from Kelvara!\n"},
        {"GetNumberOfLayers", "Failed to request 'GetNumberOfLayers' from Kelvara!\n"},
    };
    for (const Case& c : cases) {
        host.refused = {c.refuse};
        host.sent.clear();
        host.currentProject = kSource;
        EXPECT_FALSE(ExportBatch(state, nullptr, true, true, true, error)) << c.refuse;
        EXPECT_STREQ(error.text, c.message);
        EXPECT_EQ(host.texts().back(), c.refuse);
    }
    expectSourceUntouched();
}

TEST_F(Export, HostVanishingMidBatchEndsTheExport) {
    host.executesBeforeGone = 10 + 11 * 2 + 3;  // preparation, two pairs, then into the third
    EXPECT_FALSE(ExportBatch(state, nullptr, true, true, true, error));
    EXPECT_STREQ(error.text, "Failed to request 'SendFrame' from Kelvara!\n");
    const HostProject& made = host.project(kNew);
    expectSame(made.image(1, 1), zoomed(patternImage(5, 3, kSource, 1, 1)),
               "sent before the host went");
    expectSourceUntouched();
}

TEST_F(Export, SourceSwitchRefusedMidBatch) {
    int switches = 0;
    host.afterCommand = [&switches](ScriptedHost& h, const std::string& command) {
        if (command == "SetCurrentProject(7)" && ++switches == 2) h.reply = "8";
    };
    EXPECT_FALSE(ExportBatch(state, nullptr, true, true, true, error));
    EXPECT_STREQ(error.text, "Failed to switch to project '7' in Kelvara!\n");
    EXPECT_TRUE(contains(logLines(), "ret_project = 8"));
}
