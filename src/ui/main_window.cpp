#include <windows.h>
// commctrl.h and shellapi.h need the types of windows.h.
#include <commctrl.h>
#include <shellapi.h>

#include "base/com_ref.h"
#include "base/log.h"
#include "ui/app.h"
#include "ui/app_settings.h"
#include "ui/batch_progress.h"
#include "ui/host_operation.h"
#include "ui/main_layout.h"
#include "ui/settings_file.h"

namespace {

constexpr int kTabControlId = 123;
constexpr int kPageInset = 15;
constexpr int kTabPadding = 2;
constexpr int kTabPaddingHeight = 3;
constexpr COLORREF kPanelColour = RGB(240, 240, 240);
// Posted at creation: the command line's image opens once the window shows.
constexpr UINT kOpenStartImage = WM_APP + 1;

// The one application; InitPlugin's brush callback has no context to carry it.
App* theApp = nullptr;

void createCheckerboardForStartup(HWND owner) {
    theApp->preview.createCheckerboard(owner);
}

// The tab control's display area, shrunk on every side.
RECT pageRectangle(HWND tabControl) {
    RECT page;
    GetClientRect(tabControl, &page);
    SendMessageW(tabControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    InflateRect(&page, -kPageInset, -kPageInset);
    return page;
}

void insertTab(HWND tabControl, int index, const wchar_t* text) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text);
    SendMessageW(tabControl, TCM_INSERTITEMW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
}

void onCreate(App& app, HWND window) {
    UiState& ui = app.ui;
    ui.mainWindow = window;
    const HBRUSH background = app.panelBackground.get();

    app.preview.create(window);
    app.zoomStrip.create(window, background);
    app.properties.create(window, background);
    app.passManager.create(window, background);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    ui.tabControl = CreateWindowExW(
        0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 200, 220, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTabControlId)), ui.instance, nullptr);
    // Narrower padding, so that the third tab fits beside the other two in the
    // control's 200 pixels.
    SendMessageW(ui.tabControl, TCM_SETPADDING, 0, MAKELPARAM(kTabPadding, kTabPaddingHeight));
    insertTab(ui.tabControl, 0, L"Single image");
    insertTab(ui.tabControl, 1, L"Batch");
    insertTab(ui.tabControl, 2, L"Files");
    const RECT page = pageRectangle(ui.tabControl);

    app.singlePage.create(ui.tabControl, page, background);
    app.batchPage.create(ui.tabControl, page, background);
    app.filesPage.create(ui.tabControl, page, background);
    app.help.registerClass();
    // Before the host is reached: the first grab already runs through the flow.
    showSettings(app);
    DragAcceptFiles(window, TRUE);

    if (!InitPlugin(app.state, window, createCheckerboardForStartup)) {
        if (app.startImage.empty()) {
            MessageBoxA(window,
                        "Cannot connect with kelvara.\nPlease launch kelvara first then relaunch "
                        "the plugin\n",
                        "Error in startup\n", MB_ICONERROR);
            PostQuitMessage(0);
            return;
        }
        // Working on a file needs no host. The link keeps its names and
        // connects at the next host command; until one answers, that command
        // says "Kelvara is inactive!!".
        app.preview.createCheckerboard(window);
        app.state.initialised = true;
        logLine("started without Kelvara, on the image file");
    }
    ui.started = true;
    if (!app.startImage.empty()) PostMessageW(window, kOpenStartImage, 0, 0);
}

void onSize(App& app, WPARAM kind, LPARAM size) {
    if (kind == SIZE_MINIMIZED) return;
    const UiState& ui = app.ui;
    const int width = static_cast<short>(LOWORD(size));
    const int height = static_cast<short>(HIWORD(size));
    const MainLayout layout = mainLayoutFor(width, height);
    auto place = [](HWND window, const PanelPlace& p) {
        MoveWindow(window, p.x, p.y, p.width, p.height, TRUE);
    };
    place(ui.preview, layout.preview);
    place(ui.zoomStrip, layout.zoomStrip);
    RECT passManager;
    GetClientRect(ui.passManager, &passManager);
    MoveWindow(ui.passManager, layout.passManagerX, layout.passManagerY, passManager.right,
               passManager.bottom, TRUE);
    place(ui.tabControl, layout.tabControl);
    const RECT page = pageRectangle(ui.tabControl);
    for (HWND pageWindow : {ui.singlePage, ui.batchPage, ui.filesPage}) {
        MoveWindow(pageWindow, page.left, page.top, page.right - page.left, page.bottom - page.top,
                   TRUE);
    }
    place(ui.propertyPanel, layout.propertyPanel);
    app.preview.scrollBy(0, 0, true);
}

void onNotify(const App& app, const NMHDR& header) {
    if (header.code != static_cast<UINT>(TCN_SELCHANGE)) return;
    const UiState& ui = app.ui;
    showSourcePage(ui, static_cast<int>(SendMessageW(ui.tabControl, TCM_GETCURSEL, 0, 0)));
}

// A file dropped on the window opens as "Open image…" would open it.
void onDrop(App& app, HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::wstring path;
    if (count > 0) {
        path.resize(DragQueryFileW(drop, 0, nullptr, 0) + 1);
        path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
    }
    DragFinish(drop);
    if (count > 1) logFormat("%u files dropped; only the first is opened\n", count);
    if (!path.empty()) app.filesPage.openImage(path);
}

// Esc anywhere in the main window stops a running batch. A hook, because keys
// go to whichever control has the focus, and during a batch they are
// dispatched by the link's own wait loop.
LRESULT CALLBACK escapeHook(int code, WPARAM removal, LPARAM data) {
    const auto* message = reinterpret_cast<const MSG*>(data);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == WM_KEYDOWN &&
        message->wParam == VK_ESCAPE) {
        HWND main = theApp->ui.mainWindow;
        if (message->hwnd == main || IsChild(main, message->hwnd)) cancelRunningBatch(theApp->ui);
    }
    return CallNextHookEx(nullptr, code, removal, data);
}

void onDestroy(App& app) {
    // The last window to close writes what it shows.
    if (app.ui.started) saveSettings(app.settingsPath, currentSettings(app));
    app.state.chain.dropImages();
    app.preview.destroyCheckerboard();
    HostDisconnect(app.state.link);
    PostQuitMessage(0);
}

LRESULT CALLBACK mainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETMINMAXINFO) {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {kMinimumWidth, kMinimumHeight};
        return 0;
    }
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* app = reinterpret_cast<App*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (app == nullptr) return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
        case WM_CREATE:
            onCreate(*app, window);
            return 0;
        case WM_COMMAND:
            return 0;
        case WM_SIZE:
            onSize(*app, wParam, lParam);
            return 0;
        case WM_NOTIFY:
            onNotify(*app, *reinterpret_cast<const NMHDR*>(lParam));
            return 0;
        case WM_CLOSE:
            // A host operation is waiting on the conversation and the images:
            // stop a batch after the pair in flight, close once it has returned.
            if (hostOperationRunning(app->ui)) {
                app->ui.closePending = true;
                cancelRunningBatch(app->ui);
                logLine("close held until the host operation ends");
                return 0;
            }
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            onDestroy(*app);
            return 0;
        case WM_DROPFILES:
            onDrop(*app, reinterpret_cast<HDROP>(wParam));
            return 0;
        case kOpenStartImage:
            app->filesPage.openImage(app->startImage);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

void showSourcePage(const UiState& ui, int tab) {
    SendMessageW(ui.tabControl, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    const HWND pages[] = {ui.singlePage, ui.batchPage, ui.filesPage};
    // Hide first, so that two pages never show at once.
    for (int i = 0; i < 3; ++i) {
        if (i != tab) ShowWindow(pages[i], SW_HIDE);
    }
    if (tab >= 0 && tab < 3) ShowWindow(pages[tab], SW_SHOW);
}

int run(HINSTANCE instance, int showCommand, const std::wstring& startImage) {
    // The taskbar button's progress is a COM object.
    const ComInitialisation com;
    static App app;
    theApp = &app;
    app.ui.instance = instance;
    app.panelBackground.reset(CreateSolidBrush(kPanelColour));
    app.startImage = startImage;
    app.settingsPath = settingsFilePath();
    app.settings = loadSettings(app.settingsPath);

    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = mainProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = app.panelBackground.get();
    windowClass.lpszClassName = "CodeBlocksWindowsApp";
    if (RegisterClassA(&windowClass) == 0) return 0;

    // Right and bottom of the adjusted rectangle serve as width and height.
    RECT outer{0, 0, 700, 560};
    AdjustWindowRect(&outer, 0, FALSE);
    HWND window = CreateWindowExA(
        0, "CodeBlocksWindowsApp", "Marlune v0.2.1", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
        CW_USEDEFAULT, CW_USEDEFAULT, outer.right, outer.bottom, nullptr, nullptr, instance, &app);
    ShowWindow(window, placeWindow(window, app.settings, showCommand));
    UniqueHook escape;
    escape.reset(SetWindowsHookExW(WH_GETMESSAGE, escapeHook, nullptr, GetCurrentThreadId()));

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
