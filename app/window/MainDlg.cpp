// CMainDlg: creation from template 102, initialisation, the message table,
// relabel, keys and closing.

#include "app/window/MainDlg.h"

#include <QApplication>
#include <QFontMetrics>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "app/SplashWindow.h"
#include "app/help/AboutDlg.h"
#include "app/help/HtmlHelp.h"
#include "app/language/DialogTemplates.h"
#include "app/language/InterfaceFont.h"
#include "app/language/LangString.h"
#include "app/language/UiLanguage.h"
#include "app/render/RenderPool.h"
#include "app/render/WindowRenderer.h"
#include "app/window/MainListLook.h"
#include "controls/FlatHeaderCtrl.h"
#include "controls/LinkLabel.h"
#include "controls/RoundHoverButton.h"
#include "controls/ThemedHoverButton.h"
#include "controls/platform/ColorRef.h"
#include "controls/platform/DialogUnits.h"
#include "controls/platform/DlgItem.h"
#include "controls/platform/Resources.h"
#include "report/widgets/ReportCtrl.h"

namespace pagelark {
namespace {

constexpr int kTitle = 154;
constexpr int kCopyright = 163;
constexpr int kListName = 152;
constexpr int kStopText = 183;
constexpr int kLanguageMenuTip = 207;
constexpr int kCancelResult = 2;  // the result the closed window ends with

const DialogTemplate& MainTemplate() {
    return *FindDialogTemplate(IDD_MAIN);
}

// The face colour raised by 15 in each channel, added as one integer as the
// window has always done.
QColor LightFaceColour(const QPalette& palette) {
    return FromColorRef(ToColorRef(palette.color(QPalette::Button)) + 0x0F0F0F);
}

bool IsCaptioned(const DialogControl& control) {
    return control.kind == ControlKind::RoundHoverButton ||
           control.kind == ControlKind::ThemedHoverButton;
}

}  // namespace

CMainDlg::CMainDlg(QWidget* parent) : QDialog(parent), m_productIcon(LoadIcon(kProductIcon)) {
    QApplication::setFont(InterfaceFont(UiLanguage));
    CreateControls();
    InitDialog();
    ConnectCommands();
    // Nothing of the browser engine starts until an item needs rendering.
    m_renderPool = std::make_unique<RenderPool>();
    m_renderer = std::make_unique<WindowRenderer>(*m_renderPool);
    m_worker = std::make_unique<CollectWorker>(*this, m_items);
    CreateWatch();
}

CMainDlg::~CMainDlg() {
    StopAndWait();
    m_worker.reset();
    m_renderer.reset();
    m_renderPool.reset();
    // The list tells its parent of every row as it goes; this part is gone by then.
    m_list->SetReportParent(nullptr);
}

HoverButton* CMainDlg::Button(int id) const {
    return qobject_cast<HoverButton*>(GetDlgItem(this, id));
}

void CMainDlg::CreateControls() {
    const DialogTemplate& dialog = MainTemplate();
    const QColor light = LightFaceColour(palette());
    for (const DialogControl& control : dialog.controls) {
        QWidget* widget = nullptr;
        HoverButton* button = nullptr;
        switch (control.kind) {
            case ControlKind::RoundHoverButton: {
                auto* round = new RoundHoverButton(this, static_cast<int>(control.style));
                round->SetRound(true, false);
                button = round;
                break;
            }
            case ControlKind::ThemedHoverButton: {
                auto* themed = new ThemedHoverButton(this, static_cast<int>(control.style));
                themed->SetThemeHelper(&m_theme);
                button = themed;
                break;
            }
            case ControlKind::HoverButton:
                button = new HoverButton(this, static_cast<int>(control.style));
                break;
            case ControlKind::ReportControl:
                m_list = new CReportCtrl(this, control.id);
                widget = m_list;
                break;
            case ControlKind::ProgressBar:
                m_progress = new QProgressBar(this);
                m_progress->setTextVisible(false);
                m_progress->setVisible(!control.hidden);
                widget = m_progress;
                break;
            case ControlKind::LinkLabel: {
                auto* label = new LinkLabel(this, LangText(control.textId));
                label->SetURL(QString());
                label->setToolTip(QString());
                label->SetColours(QColor(0x80, 0x80, 0x80), QColor(0x80, 0x80, 0x80), Qt::black);
                connect(label, &LinkLabel::linkClicked, this, &CMainDlg::OnAbout);
                widget = label;
                break;
            }
            default:
                break;
        }
        if (button != nullptr) {
            button->SetIcon(control.iconIn, control.iconOut);
            if (control.id != IDC_LANGUAGE) button->SetColor(0, light, false);
            widget = button;
        }
        if (widget != nullptr) SetDlgCtrlID(widget, control.id);
    }
    qobject_cast<HoverButton*>(GetDlgItem(this, IDC_LANGUAGE))->SetMenu(IDR_LANGUAGE_MENU, this);
    const DialogUnits units(font());
    dialog.ApplyFrame(this, units);
    dialog.PlaceControls(this, units);
    m_rows.Attach(m_list);
}

void CMainDlg::InitDialog() {
    m_title = LangString(kTitle);
    m_minimumSize = size();
    setMinimumSize(m_minimumSize);
    setWindowIcon(m_productIcon);

    m_images.Create(kStateImageStrip, 16);
    m_list->SetImageList(&m_images);
    m_list->SetImageMeanings(StateMeanings());
    m_list->SetReportParent(this);
    DefineColumns(false);
    Relabel();
    StyleMainList(*m_list);
    m_live.Load("");
}

// The message table: control id -> handler.
void CMainDlg::ConnectCommands() {
    static const struct {
        int id;
        void (CMainDlg::*handler)();
    } kTable[] = {
        {IDC_NEW, &CMainDlg::OnNew},
        {IDC_ADD, &CMainDlg::OnAdd},
        {IDC_EDIT, &CMainDlg::OnEdit},
        {IDC_DELETE, &CMainDlg::OnDelete},
        {IDC_ENABLE, &CMainDlg::OnEnable},
        {IDC_DISABLE, &CMainDlg::OnDisable},
        {IDC_DETAIL, &CMainDlg::OnDetail},
        {IDC_SAVE, &CMainDlg::OnSave},
        {IDC_LOAD, &CMainDlg::OnLoad},
        {IDC_SNAP, &CMainDlg::OnSnap},
        {IDC_HELP, &CMainDlg::OnHelp},
        {IDC_START, &CMainDlg::OnStartStop},
        {IDC_ON_TOP, &CMainDlg::OnAlwaysOnTop},
    };
    for (const auto& entry : kTable) {
        connect(Button(entry.id), &QPushButton::clicked, this, entry.handler);
    }
}

void CMainDlg::Relabel() {
    UpdateWatchStatus();  // the caption with the file part and the watch status

    auto* label = qobject_cast<LinkLabel*>(GetDlgItem(this, IDC_COPYRIGHT));
    label->setText(LangText(kCopyright));
    label->setAccessibleName(label->text());
    label->PositionWindow();
    for (const DialogControl& control : MainTemplate().controls) {
        HoverButton* button = Button(control.id);
        if (button == nullptr || control.textId == 0) continue;
        if (IsCaptioned(control)) {
            const bool stop = control.id == IDC_START && m_worker && m_worker->IsRunning();
            button->setText(LangText(stop ? kStopText : control.textId));
            button->setAccessibleName(button->text());
        } else {
            // The language button's menu also holds the repeat setting.
            const int tip = control.id == IDC_LANGUAGE ? kLanguageMenuTip : control.textId;
            button->SetTooltipText(LangText(tip), true);
        }
    }
    m_list->setAccessibleName(LangText(kListName));
    DefineColumns(true);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != m_list) child->update();
    }
}

void CMainDlg::DefineColumns(bool redefine) {
    // Last Update is 80 px unless the time (bold on a changed row) or its
    // caption needs more in this font; the Result column gives up what it takes.
    const QFontMetrics metrics(m_list->NormalFont());
    const QFontMetrics boldMetrics(m_list->BoldFont());
    const int lastUpdateWidth = kMainListColumns[kLastUpdateColumn].width;
    const int timeWidth = std::max(
        {lastUpdateWidth, boldMetrics.horizontalAdvance(QStringLiteral("88:88:88 PM")) + 12,
         metrics.horizontalAdvance(LangText(kMainListColumns[kLastUpdateColumn].caption)) + 16});
    if (redefine) m_list->DeactivateAllSubItems();
    for (int n = 0; n < 4; ++n) {
        SubItemDef def;
        def.format = kMainListColumns[n].format;
        def.width = kMainListColumns[n].width;
        if (n == kResultColumn)
            def.width = m_list->contentsRect().width() - kResultWidthAllowance -
                        (timeWidth - lastUpdateWidth);
        if (n == kLastUpdateColumn) def.width = timeWidth;
        def.text = LangString(kMainListColumns[n].caption);
        if (redefine) {
            m_list->RedefineSubItem(n, def, true);
        } else {
            m_list->DefineSubItem(n, def);
        }
    }
    for (int n = 0; n < 4; ++n)
        m_list->ActivateSubItem(n, n);
}

void CMainDlg::AppendRow(int number, const std::string& name) {
    AppendItemRow(m_rows, number, name);
}

void CMainDlg::OnCommand(int commandId) {
    if (commandId == ID_REPEAT) {
        OnRepeatSetting();
        return;
    }
    if (!ApplyLanguageCommand(commandId)) return;
    QApplication::setFont(InterfaceFont(UiLanguage));
    // The widgets take the new font from posted events; the label's fit and
    // the preview bands are measured in it.
    QCoreApplication::sendPostedEvents();
    Relabel();
    RefitPreviewBands();
}

void CMainDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_splashShown) return;
    m_splashShown = true;
    // The splash shows from inside the window's show(), and its own show()
    // runs pending events: the load waits for it to go, so that its message
    // neither runs there (where the splash could delete itself under the
    // message's loop) nor hides under it.
    SplashWindow* splash = SplashWindow::ShowSplashScreen(this);
    if (m_startScript.isEmpty()) return;
    const auto load = [this] { LoadScriptFile(std::exchange(m_startScript, QString())); };
    if (splash != nullptr)
        connect(splash, &QObject::destroyed, this, load, Qt::QueuedConnection);
    else
        QTimer::singleShot(0, this, load);
}

void CMainDlg::keyPressEvent(QKeyEvent* event) {
    // Escape asks for help; it never closes the window. Enter goes to the
    // default button as in any dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        OnHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CMainDlg::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->ignore();
        return;
    }
    m_closing = true;
    StopAndWait();
    showMinimized();
    done(kCancelResult);
    event->accept();
    m_closing = false;
}

void CMainDlg::OnHelp() {
    ShowHelp(this);
}

void CMainDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

}  // namespace pagelark
