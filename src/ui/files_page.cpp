#include "ui/files_page.h"

#include "base/bounded_format.h"
#include "base/log.h"
#include "base/text_file.h"
#include "base/wide_text.h"
#include "flow/flow_text.h"
#include "host/frame_import.h"
#include "ui/file_dialogs.h"
#include "ui/host_operation.h"
#include "ui/settings.h"
#include "ui/source_page.h"
#include "ui/window_class.h"

namespace {

constexpr int kOpenImageId = 130;
constexpr int kSourceNoteId = 131;
constexpr int kSaveResultId = 132;
constexpr int kSaveFlowId = 133;
constexpr int kLoadFlowId = 134;
constexpr int kRecentLabelId = 135;
constexpr int kRecentFlowsId = 136;
constexpr int kButtonHeight = 24;
constexpr int kRecentListHeight = 160;
constexpr int kRecentDroppedWidth = 420;  // room for a whole path

constexpr const char* kSaveResultCaption = "Error in saving the result";
constexpr const char* kSaveFlowCaption = "Error in saving the flow";
constexpr const char* kLoadFlowCaption = "Error in loading the flow";

constexpr FileDialog kImageDialog = {
    L"Open image", L"Images (*.png, *.bmp, *.gif)\0*.png;*.bmp;*.gif\0All files\0*.*\0", nullptr};
constexpr FileDialog kResultDialog = {L"Save result", L"PNG images (*.png)\0*.png\0", L"png"};
constexpr const wchar_t* kFlowFilter =
    L"Flows (*.flow)\0*.flow\0Text files (*.txt)\0*.txt\0All files\0*.*\0";
constexpr FileDialog kSaveFlowDialog = {L"Save flow", kFlowFilter, L"flow"};
constexpr FileDialog kLoadFlowDialog = {L"Load flow", kFlowFilter, nullptr};

// The file part of a path, after the last backslash or slash.
std::wstring fileNameOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

// Text in the system's 8-bit code page, as the host's names come.
std::wstring fromAnsi(const char* text) {
    const int characters = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(characters > 0 ? characters : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), characters);
    out.resize(out.size() - 1);  // the terminator
    return out;
}

std::wstring withoutExtension(const std::wstring& name) {
    const std::size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

// The name the host's new projects take ("<name>_Marlune_<n>"), in the
// host's 8-bit text.
void setBaseFileName(PluginState& state, const std::wstring& name) {
    const int bytes = WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, nullptr, 0, "?", nullptr);
    std::string narrow(static_cast<std::size_t>(bytes > 0 ? bytes : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, narrow.data(), bytes, "?", nullptr);
    copyBounded(state.baseFileName, kBaseFileNameBytes, narrow.c_str());
}

// "name.flow (folder)": the name first, where the closed list shows it.
std::wstring recentEntry(const std::wstring& path) {
    const std::wstring name = fileNameOf(path);
    if (name.size() == path.size()) return name;
    return name + L" (" + path.substr(0, path.size() - name.size() - 1) + L")";
}

}  // namespace

void FilesPage::create(HWND tabControl, const RECT& pageRect, HBRUSH background) {
    registerPanelClass(ui_.instance,
                       {L"DataFilesPanelClass", panelProcedure<FilesPage>, IDC_ARROW, background});
    HWND page = createHiddenPage(tabControl, pageRect, L"DataFilesPanelClass", this);
    ui_.filesPage = page;
    RECT client;
    GetClientRect(page, &client);
    const int width = client.right;
    const DWORD button = WS_TABSTOP | BS_DEFPUSHBUTTON;
    ui_.openImageButton = createChild(page, L"BUTTON", L"Open image\u2026", button, 0, 0, width,
                                      kButtonHeight, kOpenImageId);
    const InnerBand note{0, width};
    ui_.sourceNote = createStatusText(page, note, 26, kSourceNoteId);
    ui_.saveResultButton = createChild(page, L"BUTTON", L"Save result\u2026", button, 0, 44, width,
                                       kButtonHeight, kSaveResultId);
    HWND group = createChild(page, L"button", L"Flow", BS_GROUPBOX, 0, 70, width, 90, 0);
    const InnerBand band = bandInside(group, page);
    const int left = band.left;
    const int bandWidth = band.width;
    ui_.saveFlowButton = createChild(page, L"BUTTON", L"Save flow\u2026", button, left, 86,
                                     bandWidth, 22, kSaveFlowId);
    ui_.loadFlowButton = createChild(page, L"BUTTON", L"Load flow\u2026", button, left, 110,
                                     bandWidth, 22, kLoadFlowId);
    HWND label = createChild(page, L"STATIC", L"Recent", 0, left, 137, 40, 16, kRecentLabelId);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    ui_.recentFlows =
        createChild(page, L"COMBOBOX", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                    left + 42, 134, bandWidth - 42, kRecentListHeight, kRecentFlowsId);
    SendMessageW(ui_.recentFlows, WM_SETFONT,
                 reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SendMessageW(ui_.recentFlows, CB_SETDROPPEDWIDTH, kRecentDroppedWidth, 0);
    showRecentFlows();
}

bool FilesPage::handle(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == kSourceMayHaveChanged) {
        showSource();
        return true;
    }
    if (message != WM_COMMAND || hostOperationRunning(ui_)) return false;
    switch (LOWORD(wParam)) {
        case kOpenImageId:
            chooseImage();
            break;
        case kSaveResultId:
            saveResult();
            break;
        case kSaveFlowId:
            saveFlow();
            break;
        case kLoadFlowId:
            chooseFlow();
            break;
        case kRecentFlowsId:
            if (HIWORD(wParam) == CBN_SELCHANGE) loadRecentFlow();
            break;
        default:
            break;
    }
    return false;
}

void FilesPage::chooseImage() {
    const std::wstring path = askFileToOpen(ui_.filesPage, kImageDialog);
    if (!path.empty()) openImage(path);
}

void FilesPage::openImage(const std::wstring& path) {
    if (hostOperationRunning(ui_)) {
        logFormat("not opened while the host is busy: %s\n", utf8FromWide(path).c_str());
        return;
    }
    ImageFile file;
    std::string error;
    if (!readImageFile(path, ui_.preview, false, file, error) || file.frames.empty()) {
        logLine(error.c_str());
        showError(kImportFailureCaption, error);
        return;
    }
    logFormat("opened %s\n", utf8FromWide(path).c_str());
    state_.chain.dropImages();
    state_.chain.setSource(std::move(file.frames.front()));
    fileAlpha_ = file.alpha;
    fileGeneration_ = state_.chain.sourceGeneration();
    fileName_ = fileNameOf(path);
    setBaseFileName(state_, withoutExtension(fileName_));
    state_.chain.evaluate(ui_.preview);
    showSource();
    ErrorText tooLarge;
    if (!FlowResultMade(state_.chain, tooLarge)) showError(kImportFailureCaption, tooLarge.text);
}

bool FilesPage::sourceIsOpenedFile() const {
    return state_.chain.source() != nullptr && fileGeneration_ != 0 &&
           state_.chain.sourceGeneration() == fileGeneration_;
}

void FilesPage::saveResult() {
    if (state_.chain.displayedImage() == nullptr) {
        showError(kSaveResultCaption, "ERROR: nothing to save: open or grab an image first");
        return;
    }
    const std::wstring name =
        sourceIsOpenedFile() ? withoutExtension(fileName_) : fromAnsi(state_.baseFileName);
    const std::wstring path = askFileToSave(ui_.filesPage, kResultDialog,
                                            (name.empty() ? L"Untitled" : name) + L"_marlune.png");
    // The dialog dispatched messages: take the image afresh.
    const IndexedImage* shown = state_.chain.displayedImage();
    if (path.empty() || shown == nullptr) return;
    // A host image has no transparency of its own.
    const PaletteAlpha alpha = sourceIsOpenedFile() ? fileAlpha_ : PaletteAlpha{};
    std::string error;
    if (!writePngFile(path, *shown, alpha, error)) {
        logLine(error.c_str());
        showError(kSaveResultCaption, error);
        return;
    }
    logFormat("saved the result (%d x %d) as %s\n", shown->width, shown->height,
              utf8FromWide(path).c_str());
}

void FilesPage::saveFlow() {
    const std::wstring path = askFileToSave(ui_.filesPage, kSaveFlowDialog, L"");
    if (path.empty()) return;
    std::string problem;
    if (!writeWholeFile(path, writeFlowText(passes_.flow()), problem)) {
        const std::string error = "ERROR: " + utf8FromWide(path) + " cannot be written: " + problem;
        logLine(error.c_str());
        showError(kSaveFlowCaption, error);
        return;
    }
    logFormat("saved the flow as %s\n", utf8FromWide(path).c_str());
    rememberFlow(path);
}

void FilesPage::chooseFlow() {
    const std::wstring path = askFileToOpen(ui_.filesPage, kLoadFlowDialog);
    if (!path.empty()) loadFlow(path, false);
}

void FilesPage::loadRecentFlow() {
    const auto index = static_cast<int>(SendMessageW(ui_.recentFlows, CB_GETCURSEL, 0, 0));
    if (index >= 0 && index < static_cast<int>(recentFlows_.size())) {
        loadFlow(wideFromUtf8(recentFlows_[static_cast<std::size_t>(index)]), true);
    }
}

void FilesPage::loadFlow(const std::wstring& path, bool recent) {
    const std::string name = utf8FromWide(path);
    std::string text;
    std::string error;
    switch (readWholeFile(path, kMaxFlowTextBytes, text)) {
        case FileRead::Ok:
            break;
        case FileRead::Missing:
            if (recent) {
                logFormat("the flow %s is gone; dropped from the recent flows\n", name.c_str());
                std::erase(recentFlows_, name);
                showRecentFlows();
                return;
            }
            error = "ERROR: " + name + " does not exist";
            break;
        case FileRead::TooLarge:
            error = "ERROR: " + name + " is not a flow: it is larger than " +
                    std::to_string(kMaxFlowTextBytes / 1024) + " KiB";
            break;
        case FileRead::Failed:
            error = "ERROR: " + name + " cannot be read";
            break;
    }
    Flow flow;
    FlowProblem problem;
    if (error.empty() && !readFlowText(text, flow, problem)) {
        error = "ERROR: " + name +
                (problem.line > 0 ? ", line " + std::to_string(problem.line) : std::string()) +
                ": " + problem.message;
    }
    if (!error.empty()) {
        logLine(error.c_str());
        showRecentFlows();  // no entry stays chosen
        showError(kLoadFlowCaption, error);
        return;
    }
    logFormat("loaded the flow %s\n", name.c_str());
    // The source is the same image afterwards, set back into the chain.
    const bool opened = sourceIsOpenedFile();
    applyFlow(state_.chain, ui_.preview, flow);
    if (opened) fileGeneration_ = state_.chain.sourceGeneration();
    passes_.showFlow(flow.kinds);
    properties_.showSettings();
    rememberFlow(path);
}

void FilesPage::rememberFlow(const std::wstring& path) {
    ::rememberFlow(recentFlows_, utf8FromWide(path));
    showRecentFlows();
}

void FilesPage::showRecentFlows() {
    SendMessageW(ui_.recentFlows, CB_RESETCONTENT, 0, 0);
    for (const std::string& path : recentFlows_) {
        const std::wstring entry = recentEntry(wideFromUtf8(path));
        SendMessageW(ui_.recentFlows, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    // Nothing chosen, so that choosing any entry, the first too, loads it.
    SendMessageW(ui_.recentFlows, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void FilesPage::showSource() {
    const IndexedImage* source = state_.chain.source();
    if (source == nullptr) {
        SetWindowTextW(ui_.sourceNote, L"");
        return;
    }
    const std::wstring name = sourceIsOpenedFile() ? fileName_ : L"from Kelvara";
    const std::wstring size =
        std::to_wstring(source->width) + L" x " + std::to_wstring(source->height);
    SetWindowTextW(ui_.sourceNote, (name + L", " + size).c_str());
}

void FilesPage::showError(const char* caption, const std::string& message) const {
    MessageBoxW(ui_.filesPage, wideFromUtf8(message).c_str(), wideFromUtf8(caption).c_str(),
                MB_ICONERROR);
}
