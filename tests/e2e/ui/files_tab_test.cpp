// The Files tab: an image opened through the Open dialog, dropped on the
// window or named on the command line becomes the source as a grab would (the
// preview equals the chain on it, the host takes it); Save result writes the
// displayed image exactly, with the opened file's transparency; damaged files
// are refused with a box; flows are saved, loaded (the same in the app as
// through marlune-cli -F), refused and offered again.
#include <gtest/gtest.h>

#include <fstream>

#include "flow/flow_text.h"
#include "marlune_session.h"
#include "passes/pass_kinds.h"
#include "sample_dump.h"
#include "wic_test_files.h"

namespace {

// The sample's knight (frame 1, layer 1) and backdrop (frame 2, layer 0).
const IndexedImage& knight() {
    return *pristineSample().layer(kSample, 1, 1);
}
const IndexedImage& backdrop() {
    return *pristineSample().layer(kSample, 2, 0);
}

// Index 0 clear and index 9 half clear, as a sprite's file would have them.
PaletteAlpha spriteAlpha() {
    PaletteAlpha alpha;
    alpha.alpha[0] = 0;
    alpha.alpha[9] = 128;
    alpha.present = true;
    return alpha;
}

// The image files go through WIC, which needs COM on this thread.
const auto* const com = testing::AddGlobalTestEnvironment(new ComEnvironment);

void writePng(const std::string& path, const IndexedImage& image, const PaletteAlpha& alpha) {
    std::string error;
    ASSERT_TRUE(writePngFile(widen(path), image, alpha, error)) << error;
}

// A path as one command-line argument.
std::string quoted(const std::string& path) {
    std::string argument(1, '"');
    argument.append(path).push_back('"');
    return argument;
}

bool waitForText(HWND window, const std::string& text) {
    return waitUntil([&] { return ui::text(window) == text; });
}

bool waitForFile(const std::string& path) {
    return waitUntil([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; });
}

// Presses "Save result…", answers the dialog with `path`; gives the name offered.
std::string saveResult(const MarluneSession& session, const std::string& path) {
    ui::postClick(session.w.saveResult);
    const std::string offered = ui::answerFileDialog(session.app->processId(), "Save result", path);
    EXPECT_TRUE(waitForFile(path)) << path;
    ui::settle(session.w.main);
    return offered;
}

void expectSaved(const std::string& path, const IndexedImage& shown, bool withAlpha) {
    const ImageFile saved = readOk(path);
    ASSERT_EQ(saved.frames.size(), 1u);
    EXPECT_TRUE(sameImage(saved.frames[0].get(), shown));
    EXPECT_EQ(saved.alpha.present, withAlpha);
    if (withAlpha) {
        EXPECT_EQ(saved.alpha.alpha, spriteAlpha().alpha);
    }
}

TEST(FilesTab, OpenDropSaveAndSendAsAGrabWould) {
    // The sample is read (from a host of its own) before a window of the test exists.
    TempFolder files;
    writePng(files.file("knight.png"), knight(), spriteAlpha());
    // The host's own dump gives the backdrop as an 8-bit BMP.
    HostSimProcess({"--sample", "--dump", files.path()}).stop();
    MarluneSession session({"--sample"});
    ASSERT_NE(session.w.main, nullptr) << session.problem;
    const MarluneWindows& w = session.w;
    const DWORD app = session.app->processId();
    ui::selectTab(w.tabControl, 2);
    ui::postClick(w.saveResult);
    EXPECT_EQ(session.takeErrorBox("Error in saving the result"),
              "ERROR: nothing to save: open or grab an image first");

    const std::vector<int> flow = {kScale2x, kRotateUnzoom2x};
    appendPasses(w, flow);
    typeAngle(w, "26.565");
    ui::postClick(w.openImage);
    EXPECT_EQ(ui::answerFileDialog(app, "Open image", files.file("knight.png")), "");
    ASSERT_TRUE(waitForText(w.sourceNote, "knight.png, 48 x 48"));
    const auto knightShown = runChain(knight(), flow, 26.565);
    expectPreviewShows(ui::readClient(w.preview), *knightShown->displayedImage());
    EXPECT_EQ(saveResult(session, files.file("knight-out.png")), "knight_marlune.png");
    expectSaved(files.file("knight-out.png"), *knightShown->displayedImage(), true);

    // Dropped: a BMP, no transparency of its own.
    ui::dropFiles(w.main, {files.file("p1_f2_l0.bmp")});
    ASSERT_TRUE(waitForText(w.sourceNote, "p1_f2_l0.bmp, 48 x 48"));
    const auto backdropShown = runChain(backdrop(), flow, 26.565);
    expectPreviewShows(ui::readClient(w.preview), *backdropShown->displayedImage());
    saveResult(session, files.file("backdrop-out.png"));
    expectSaved(files.file("backdrop-out.png"), *backdropShown->displayedImage(), false);

    // Damaged: refused with the file's name, the source as it was.
    const std::string png = fileText(files.file("knight.png"));
    std::ofstream(files.file("cut.png"), std::ios::binary) << png.substr(0, png.size() / 2);
    for (const char* name : {"cut.png", "absent.gif"}) {
        ui::dropFiles(w.main, {files.file(name)});
        const std::string message = session.takeErrorBox("Error in image import!\n");
        EXPECT_NE(message.find(files.file(name)), std::string::npos) << message;
        EXPECT_EQ(ui::text(w.sourceNote), "p1_f2_l0.bmp, 48 x 48");
        expectPreviewShows(ui::readClient(w.preview), *backdropShown->displayedImage());
    }

    // The host takes an opened image as it takes a grabbed one, named after the file.
    ui::click(w.send);
    EXPECT_EQ(ui::findTopLevel("#32770", app), nullptr);
    // A grabbed image has no transparency: Save result writes none.
    const auto frame = session.grab();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(ui::text(w.sourceNote), "from Kelvara, 48 x 48");
    // The host named its new project after the file; the grab takes that name.
    EXPECT_EQ(saveResult(session, files.file("grabbed-out.png")), "p1_f2_l0_Marlune_1_marlune.png");
    expectSaved(files.file("grabbed-out.png"), *runChain(*frame, flow, 26.565)->displayedImage(),
                false);

    const HostDump dump = session.stopHostAndReadDump();
    ASSERT_EQ(dump.projects.size(), 2u);
    EXPECT_TRUE(sameImage(dump.layer(2, 1, 0), *backdropShown->displayedImage()));
    const std::vector<std::string> log = readLines(session.folder.file("host-log.txt"));
    EXPECT_NE(std::find(log.begin(), log.end(), "SetCurrentFilename(p1_f2_l0_Marlune_1)"),
              log.end());
}

TEST(FilesTab, AnImageArgumentStartsWithoutHostAndTheLinkFindsOneLater) {
    // The host shows the knight, the file is the backdrop.
    const IndexedImage& shownFrame = knight();
    TempFolder files;
    writePng(files.file("backdrop.png"), backdrop(), {});
    Launch launch;
    launch.arguments = quoted(files.file("backdrop.png"));
    MarluneSession session(MarluneSession::NoHost{}, launch);
    ASSERT_NE(session.w.main, nullptr) << session.problem;
    const MarluneWindows& w = session.w;
    ASSERT_TRUE(waitForText(w.sourceNote, "backdrop.png, 48 x 48"));
    EXPECT_EQ(ui::findTopLevel("#32770", session.app->processId()), nullptr);
    expectPreviewShows(ui::readClient(w.preview), backdrop());
    EXPECT_TRUE(session.printed("Kelvara is inactive!!"));

    // Host buttons say so until a host answers; then the link connects.
    ui::postClick(w.grab);
    EXPECT_EQ(session.takeErrorBox("Error in image import!\n"), "Kelvara is inactive!!");
    ASSERT_TRUE(session.startHost({"--sample"})) << session.problem;
    const auto frame = session.grab();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(sameImage(frame.get(), shownFrame));
    // The host's window came up over Marlune's (Xvfb has no window manager).
    SetWindowPos(w.main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    expectPreviewShows(ui::readClient(w.preview), *frame);
    EXPECT_EQ(ui::text(w.sourceNote), "from Kelvara, 48 x 48");
    session.closeAndExpectExit();
}

Flow flowIn(const std::string& path) {
    Flow flow;
    FlowProblem problem;
    EXPECT_TRUE(readFlowText(fileText(path), flow, problem))
        << problem.line << ": " << problem.message;
    return flow;
}

std::vector<std::string> listedFlow(const std::vector<int>& kinds) {
    std::vector<std::string> names;
    for (int kind : kinds) names.emplace_back(passKindNamesNarrow[kind]);
    names.emplace_back("END");
    return names;
}

void saveFlow(const MarluneSession& session, const std::string& path) {
    ui::postClick(session.w.saveFlow);
    EXPECT_EQ(ui::answerFileDialog(session.app->processId(), "Save flow", path), "");
    EXPECT_TRUE(waitForFile(path));
    ui::settle(session.w.main);
}

TEST(FilesTab, FlowsAreSavedLoadedRefusedAndOfferedAgain) {
    TempFolder files;
    writePng(files.file("knight.png"), knight(), spriteAlpha());
    Launch launch;
    launch.arguments = quoted(files.file("knight.png"));
    MarluneSession session(MarluneSession::NoHost{}, launch);
    ASSERT_NE(session.w.main, nullptr) << session.problem;
    const MarluneWindows& w = session.w;
    const DWORD app = session.app->processId();
    ASSERT_TRUE(waitForText(w.sourceNote, "knight.png, 48 x 48"));
    ui::selectTab(w.tabControl, 2);
    appendPasses(w, kRotSprite);
    typeAngle(w, "22.5");
    ui::click(w.wrapAround);
    const ui::Pixels built = ui::readClient(w.preview);
    saveFlow(session, files.file("rot.flow"));
    const Flow saved = flowIn(files.file("rot.flow"));
    EXPECT_EQ(saved.kinds, kRotSprite);
    EXPECT_EQ(saved.angle, 22.5);
    EXPECT_TRUE(saved.wrap);

    // Undone by hand, then loaded: the same chain, the same pixels.
    for (std::size_t i = 0; i < kRotSprite.size(); ++i) {
        ui::selectListEntry(w.passList, 0);
        ui::click(w.removeButton);
    }
    typeAngle(w, "45");
    ui::click(w.wrapAround);
    saveFlow(session, files.file("plain.flow"));
    ui::postClick(w.loadFlow);
    EXPECT_EQ(ui::answerFileDialog(app, "Load flow", files.file("rot.flow")), "");
    ASSERT_TRUE(waitForText(w.angleLabel, "Rotation angle: 22.5"));
    EXPECT_EQ(ui::listItems(w.passList), listedFlow(kRotSprite));
    EXPECT_EQ(SendMessageW(w.wrapAround, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(ui::readClient(w.preview).rgb, built.rgb);
    expectPreviewShows(ui::readClient(w.preview),
                       *runChain(knight(), kRotSprite, 22.5, true)->displayedImage());
    const std::string folder = " (" + files.path() + ")";
    EXPECT_EQ(ui::comboItems(w.recentFlows),
              (std::vector<std::string>{"rot.flow" + folder, "plain.flow" + folder}));
    ui::setTrackbar(w.zoomTrackbar, 4);
    screenshot(ui::readClient(w.main), "files-tab");
    // The same flow file through the command line gives the image the app shows.
    saveResult(session, files.file("app.png"));
    const ui::Program cli(programFolder() + "marlune-cli.exe",
                          "-q -F " + quoted(files.file("rot.flow")) + " -o " +
                              quoted(files.file("cli.png")) + " " +
                              quoted(files.file("knight.png")),
                          files.file("cli-out.txt"));
    ASSERT_TRUE(cli.waitForExit(30000));
    EXPECT_EQ(cli.exitCode(), 0u);
    expectSaved(files.file("cli.png"), *readOk(files.file("app.png")).frames[0], true);

    // A flow naming an unknown pass is refused whole; the flow stays.
    std::ofstream(files.file("bad.flow")) << "# by hand\npasses = Scale2x, Shrink2x\nangle = 10\n";
    ui::postClick(w.loadFlow);
    ui::answerFileDialog(app, "Load flow", files.file("bad.flow"));
    const std::string refusal = session.takeErrorBox("Error in loading the flow");
    EXPECT_EQ(refusal.find("ERROR: " + files.file("bad.flow") + ", line 2: "), 0u) << refusal;
    EXPECT_NE(refusal.find("Shrink2x"), std::string::npos) << refusal;
    EXPECT_EQ(ui::listItems(w.passList), listedFlow(kRotSprite));
    EXPECT_EQ(ui::text(w.angleLabel), "Rotation angle: 22.5");
    EXPECT_EQ(ui::comboItems(w.recentFlows).size(), 2u);

    // Offered again: the second entry loads and comes first.
    ui::selectComboEntry(w.recentFlows, 1);
    ASSERT_TRUE(waitForText(w.angleLabel, "Rotation angle: 45"));
    EXPECT_EQ(ui::listItems(w.passList), listedFlow({}));
    EXPECT_EQ(ui::comboItems(w.recentFlows),
              (std::vector<std::string>{"plain.flow" + folder, "rot.flow" + folder}));
    // A recent flow whose file has gone leaves the list, with a log line and no box.
    DeleteFileA(files.file("rot.flow").c_str());
    ui::selectComboEntry(w.recentFlows, 1);
    ui::settle(w.main);
    EXPECT_EQ(ui::findTopLevel("#32770", app), nullptr);
    EXPECT_EQ(ui::comboItems(w.recentFlows), std::vector<std::string>{"plain.flow" + folder});
    EXPECT_TRUE(session.printed("the flow " + files.file("rot.flow") +
                                " is gone; dropped from the recent flows"));
    EXPECT_EQ(ui::text(w.angleLabel), "Rotation angle: 45");
}

}  // namespace
