#include "shell/win32/ArrayViewer.h"

#include "gamelink/PlayerTable.h"
#include "platform/SoundPlayer.h"
#include "shell/ViewTexts.h"
#include "shell/win32/ControlText.h"

#include <commctrl.h>

namespace hh::win32 {
namespace {

enum : int {
    kBox1 = 100,
    kBox2,
    kDisplayAll1,
    kDisplayAll2,
    kGuid,
    kAliasList,
    kAddPlayer,
    kRemovePlayers,
    kRebuild,
    kFinishRebuild,
    kClose,
};

} // namespace

ArrayViewer::ArrayViewer(PlayerTable& table, SoundPlayer& sound) : table_(table), sound_(sound) {}

void ArrayViewer::show(HWND owner) {
    if (!window_ && !createModeless(owner, texts::kViewerCaption, 360, 250,
                                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX))
        return;
    showTable(1);
    showTable(2);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

void ArrayViewer::build() {
    for (int i = 0; i < 2; ++i) {
        add(WC_EDITW, "",
            WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                ES_AUTOHSCROLL,
            {7 + i * 176, 7, 170, 140}, kBox1 + i, WS_EX_CLIENTEDGE);
        addButton(texts::kDisplayAll, {7 + i * 176, 151, 170, 14}, kDisplayAll1 + i);
    }
    addLabel(texts::kViewerName, {7, 173, 30, 9});
    SendMessageW(addEdit({40, 171, 60, 12}, kGuid), EM_LIMITTEXT, 8, 0);
    addLabel(texts::kViewerAliasList, {110, 173, 40, 9});
    SendMessageW(addEdit({153, 171, 200, 12}, kAliasList), EM_LIMITTEXT, 60, 0);
    addButton(texts::kAddPlayer, {7, 189, 170, 14}, kAddPlayer);
    addButton(texts::kRemoveAllPlayers, {183, 189, 170, 14}, kRemovePlayers);
    addButton(texts::kStartRebuild, {7, 207, 170, 14}, kRebuild);
    addButton(texts::kFinishRebuild, {183, 207, 170, 14}, kFinishRebuild);
    addButton(texts::kClose, {303, 229, 50, 14}, kClose);
}

void ArrayViewer::showTable(int which) {
    setGameText(item(kBox1 + which - 1), withCrLf(table_.showPlayerTable(which)));
}

bool ArrayViewer::onCommand(int id, int code, HWND) {
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case kDisplayAll1:
    case kDisplayAll2:
        showTable(id - kDisplayAll1 + 1);
        return true;
    case kAddPlayer:
        if (!table_.addPlayer(gameText(item(kGuid)), gameText(item(kAliasList))))
            sound_.beep(); // the table is full
        showTable(1);
        return true;
    case kRemovePlayers:
        table_.clearPlayers();
        showTable(1);
        return true;
    case kRebuild:
        table_.backupAndClearPlayers();
        showTable(1);
        showTable(2);
        return true;
    case kFinishRebuild:
        table_.carryOverAliasLists();
        showTable(1);
        showTable(2);
        return true;
    case kClose:
    case IDCANCEL:
        ShowWindow(window_, SW_HIDE);
        return true;
    default:
        return false;
    }
}

} // namespace hh::win32
