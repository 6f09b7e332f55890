#include "app/setup_dialog.h"

#include "app/setup_app.h"
#include "app/setup_rules.h"
#include "browse/folder_dialog.h"
#include "browse/free_space.h"
#include "framework/message_box.h"
#include "res/resource.h"
#include "system/registry.h"

namespace {
constexpr char installQuestion[] = "\r\n\r\nInstall Nalvora?";
constexpr char completionText[] =
    "The program has been successfully installed.\r\n"
    "A shortcut (named KVX) can be found on Windows Desktop and in \"Programs\" of Windows \"Start\".";

// A window's rectangle in its parent dialog's client coordinates.
RECT RectInDialog(HWND dialog, const CWnd& control) {
    RECT rect = control.GetWindowRect();
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
}  // namespace

const std::array<MessageEntry<SetupDialog>, 4> SetupDialog::messageTable{{
    {WM_COMMAND, BN_CLICKED, IDC_BROWSE, &SetupDialog::OnBrowse},
    {WM_COMMAND, BN_CLICKED, IDOK, &SetupDialog::OnInstall},
    {WM_PAINT, 0, 0, &SetupDialog::OnPaint},
    {WM_QUERYDRAGICON, 0, 0, &SetupDialog::OnQueryDragIcon},
}};

SetupDialog::SetupDialog(HWND parent)
    : CDialog(IDD_SETUP, parent), m_appIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PRODUCT))) {}

SetupDialog::~SetupDialog() = default;

bool SetupDialog::OnMessage(Message& m) { return RouteMessage<SetupDialog>(*this, messageTable, m); }

void SetupDialog::DoDataExchange(CDataExchange& dx) {
    dx.Control(IDC_MESSAGE, m_messageLabel);
    dx.Control(IDC_FREE_SPACE, m_freeSpaceLabel);
    dx.Control(IDC_BROWSE, m_placeholder);
    dx.Control(IDC_PATH_LABEL, m_pathLabel);
    dx.Control(IDC_FOLDER_EDIT, m_folderEdit);
    dx.Text(IDC_MESSAGE, m_messageText);
}

BOOL SetupDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_appIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_appIcon));
    CreateBrowseButton();
    bool open = ChooseInstallFolder();
    m_folderEdit.SetWindowText(m_installFolder);
    m_messageText = installQuestion;
    UpdateData();
    UpdateFreeSpaceLabel();
    if (!open) EndDialog(IDCANCEL);
    return TRUE;
}

void SetupDialog::CreateBrowseButton() {
    RECT rect = m_placeholder.GetWindowRect();
    InflateRect(&rect, 2, 4);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_ICON, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_BROWSE)), instance, nullptr);
    m_browseButton = std::make_unique<IconButton>();
    m_browseButton->Subclass(button);
    auto folder = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_FOLDER_CLOSED), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    CButton(button).SetIcon(folder);
}

bool SetupDialog::ChooseInstallFolder() {
    if (std::optional<std::string> previous = PreviousInstallFolder(ReadAppPathFolder())) {
        m_installFolder = *previous;
        // Asked while the dialog is still hidden: anything but Yes closes it.
        return AppMessageBox("A previous installation found.\r\nReinstall?", MB_YESNO) == IDYES;
    }
    std::array<char, 261> windows{};
    GetWindowsDirectoryA(windows.data(), static_cast<UINT>(windows.size()));
    m_installFolder = DefaultInstallFolder(windows.data());
    return true;
}

// The Windows 95/98 family keeps the label's single space for the whole run.
void SetupDialog::UpdateFreeSpaceLabel() {
    if (TheSetupApp().m_platformKind == 2) m_freeSpaceLabel.SetWindowText(FreeSpaceText(m_installFolder));
}

// The browser starts from the folder the dialog last set, not from what the
// user may have typed since; only a confirmed choice replaces the typed text.
void SetupDialog::OnBrowse(Message&) {
    FolderDialog browser(m_hWnd, TheSetupApp().m_platformKind);
    browser.m_strFolder = m_installFolder + "\\";
    if (browser.DoModal() != IDOK) return;
    m_installFolder = FolderFromBrowser(browser.m_strFolder);
    m_folderEdit.SetWindowText(m_installFolder);
    UpdateFreeSpaceLabel();
}

void SetupDialog::OnInstall(Message&) { InstallRun(*this); }

void SetupDialog::ShowCompletedState() {
    m_messageText = completionText;
    m_browseButton->ShowWindow(SW_HIDE);
    m_folderEdit.ShowWindow(SW_HIDE);
    m_pathLabel.ShowWindow(SW_HIDE);
    m_freeSpaceLabel.ShowWindow(SW_HIDE);
    RECT rect = RectInDialog(m_hWnd, m_messageLabel);
    m_messageLabel.MoveWindow(rect.left, rect.top - 20, rect.right - rect.left, rect.bottom - rect.top, true);
    UpdateData();
    // The hidden controls' places are erased by the dialog; repaint it and
    // then its children, so the erase never covers the moved message.
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void SetupDialog::OnPaint(Message& m) {
    if (!IsIconic(m_hWnd)) {
        m.handled = false;
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    int iconWidth = GetSystemMetrics(SM_CXICON);
    int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    int x = (client.right - client.left - iconWidth + 1) / 2;
    int y = (client.bottom - client.top - iconHeight + 1) / 2;
    DrawIcon(dc, x, y, m_appIcon);
    EndPaint(m_hWnd, &paint);
}

void SetupDialog::OnQueryDragIcon(Message& m) { m.result = reinterpret_cast<LRESULT>(m_appIcon); }
