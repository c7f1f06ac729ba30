#include "marlune_windows.h"

MarluneWindows waitForMarlune(DWORD processId, DWORD timeoutMs) {
    MarluneWindows w;
    HWND main = ui::waitForTopLevel("CodeBlocksWindowsApp", processId, timeoutMs);
    if (main == nullptr) return w;
    w.preview = ui::childById(main, 112);
    w.zoomStrip = ui::findChild(main, "RenderCtrlPanelClass");
    w.zoomTrackbar = ui::childById(w.zoomStrip, 119);
    w.zoomLabel = ui::childById(w.zoomStrip, 122);
    w.propertyPanel = ui::findChild(main, "PropertyPanelClass");
    w.angleLabel = ui::childById(w.propertyPanel, 105);
    w.angleTrackbar = ui::childById(w.propertyPanel, 106);
    w.angleBox = ui::childById(w.propertyPanel, 125);
    w.wrapAround = ui::childById(w.propertyPanel, 107);
    w.helpButton = ui::childById(w.propertyPanel, 124);
    w.passManager = ui::findChild(main, "PassMgrPanelClass");
    w.passList = ui::childById(w.passManager, 111);
    w.kindSelector = ui::childById(w.passManager, 108);
    w.addButton = ui::childById(w.passManager, 109);
    w.removeButton = ui::childById(w.passManager, 110);
    w.tabControl = ui::childById(main, 123);
    w.singlePage = ui::findChild(w.tabControl, "DataImagePanelClass");
    w.grab = ui::childById(w.singlePage, 100);
    w.send = ui::childById(w.singlePage, 101);
    w.batchPage = ui::findChild(w.tabControl, "DataBatchPanelClass");
    w.grabSample = ui::childById(w.batchPage, 100);
    w.launch = ui::childById(w.batchPage, 102);
    w.batchStatus = ui::childById(w.batchPage, 126);
    w.turnsBox = ui::childById(w.batchPage, 128);
    w.filesPage = ui::findChild(w.tabControl, "DataFilesPanelClass");
    w.openImage = ui::childById(w.filesPage, 130);
    w.sourceNote = ui::childById(w.filesPage, 131);
    w.saveResult = ui::childById(w.filesPage, 132);
    w.saveFlow = ui::childById(w.filesPage, 133);
    w.loadFlow = ui::childById(w.filesPage, 134);
    w.recentFlows = ui::childById(w.filesPage, 136);
    w.main = main;
    return w;
}

void appendPasses(const MarluneWindows& w, const std::vector<int>& kinds) {
    for (int kind : kinds) {
        ui::selectListEntry(w.passList, static_cast<int>(ui::listItems(w.passList).size()) - 1);
        ui::selectComboEntry(w.kindSelector, kind);
        ui::click(w.addButton);
    }
}

void typeAngle(const MarluneWindows& w, const std::string& text) {
    ui::typeText(w.angleBox, text);
    ui::pressKey(w.angleBox, VK_RETURN);
}
