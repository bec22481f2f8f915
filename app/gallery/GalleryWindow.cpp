#include "app/gallery/GalleryWindow.h"

#include <QApplication>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "app/gallery/ImagePanel.h"
#include "app/language/LangString.h"
#include "app/language/UiLanguage.h"
#include "controls/LinkLabel.h"
#include "controls/RoundHoverButton.h"
#include "controls/ThemeHelper.h"
#include "controls/ThemedHoverButton.h"
#include "controls/platform/ColorRef.h"
#include "controls/platform/DialogUnits.h"
#include "controls/platform/Resources.h"

namespace pagelark {
namespace {

// The main window's lit face: the button face plus 0x0F0F0F as one number.
QColor LightFace(const QWidget* widget) {
    return FromColorRef(ToColorRef(widget->palette().color(QPalette::Button)) + 0x0F0F0F);
}

QLabel* Caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Dark).darker(130));
    label->setPalette(palette);
    return label;
}

// A sample with its state written under it.
void AddSample(QGridLayout* grid, int column, QWidget* sample, const QString& state) {
    grid->addWidget(sample, 0, column, Qt::AlignHCenter | Qt::AlignBottom);
    grid->addWidget(Caption(state, sample->parentWidget()), 1, column, Qt::AlignHCenter);
}

QGroupBox* Section(const QString& title, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    return box;
}

struct ButtonSample {
    int stringId;
    int iconIn;
    int iconOut;
};

constexpr ButtonSample kTopRow[] = {{172, 160, 160}, {173, 137, 137}, {174, 138, 138},
                                    {175, 139, 139}, {176, 152, 152}, {177, 153, 153},
                                    {186, 180, 180}};

}  // namespace

GalleryWindow::GalleryWindow(QWidget* parent)
    : QWidget(parent),
      m_styled(std::make_unique<ThemeHelper>(ThemeHelper::Binding::Style)),
      m_classic(std::make_unique<ThemeHelper>(ThemeHelper::Binding::WithoutLibrary)) {
    setFont(DialogUnits::DialogFont());
    const DialogUnits units(font());

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(6);
    layout->addWidget(TopRow(units));
    layout->addWidget(RoundStates(units));
    auto* themedRow = new QHBoxLayout();
    themedRow->addWidget(
        ThemedStates(units, m_styled.get(), QStringLiteral("ThemedHoverButton, desktop style")));
    themedRow->addWidget(ThemedStates(units, m_classic.get(),
                                      QStringLiteral("ThemedHoverButton, classic (no style)")));
    layout->addLayout(themedRow);
    auto* lowerRow = new QHBoxLayout();
    lowerRow->addWidget(ClassicStates(units));
    lowerRow->addWidget(LinkStates());
    layout->addLayout(lowerRow);
    layout->addWidget(Bitmaps());
    Relabel();
}

GalleryWindow::~GalleryWindow() = default;

QWidget* GalleryWindow::TopRow(const DialogUnits& units) {
    QGroupBox* box = Section(QStringLiteral("RoundHoverButton: the main window's top row"), this);
    auto* row = new QHBoxLayout(box);
    row->setSpacing(units.ToPixelsX(2));
    for (const ButtonSample& sample : kTopRow) {
        auto* button = new RoundHoverButton(box);
        button->setFixedSize(units.ToPixels(QSize(45, 19)));
        button->SetIcon(sample.iconIn, sample.iconOut);
        button->SetColor(HoverButtonModel::BkIn, LightFace(button));
        button->SetRound(true);
        m_captioned.emplace_back(button, sample.stringId);
        row->addWidget(button);
    }
    row->addStretch();
    return box;
}

QWidget* GalleryWindow::RoundStates(const DialogUnits& units) {
    QGroupBox* box = Section(QStringLiteral("RoundHoverButton states"), this);
    auto* grid = new QGridLayout(box);
    const auto make = [&](bool round) {
        auto* button = new RoundHoverButton(box);
        button->setFixedSize(units.ToPixels(QSize(45, 19)));
        button->SetIcon(137, 137);
        button->SetColor(HoverButtonModel::BkIn, LightFace(button));
        button->SetRound(round);
        m_captioned.emplace_back(button, 173);
        return button;
    };
    AddSample(grid, 0, make(true), QStringLiteral("normal"));
    HoverButton* hovered = make(true);
    m_hovered.push_back(hovered);
    AddSample(grid, 1, hovered, QStringLiteral("hover"));
    HoverButton* pressed = make(true);
    m_pressed.push_back(pressed);
    AddSample(grid, 2, pressed, QStringLiteral("pressed"));
    HoverButton* disabled = make(true);
    disabled->setEnabled(false);
    AddSample(grid, 3, disabled, QStringLiteral("disabled"));
    HoverButton* square = make(false);
    m_hovered.push_back(square);
    AddSample(grid, 4, square, QStringLiteral("hover, not round"));
    HoverButton* squarePressed = make(false);
    m_pressed.push_back(squarePressed);
    AddSample(grid, 5, squarePressed, QStringLiteral("pressed, not round"));
    grid->setColumnStretch(6, 1);
    return box;
}

QWidget* GalleryWindow::ThemedStates(const DialogUnits& units, ThemeHelper* helper,
                                     const QString& title) {
    QGroupBox* box = Section(title, this);
    auto* grid = new QGridLayout(box);
    const auto make = [&](int stringId, int iconIn, int iconOut, int style) {
        auto* button = new ThemedHoverButton(box, style);
        button->setFixedSize(units.ToPixels(QSize(61, 29)));
        button->SetIcon(iconIn, iconOut);
        button->SetColor(HoverButtonModel::BkIn, LightFace(button));
        button->SetThemeHelper(helper);
        button->setAutoDefault(false);
        m_captioned.emplace_back(button, stringId);
        return button;
    };
    AddSample(grid, 0, make(178, 147, 171, BS_PUSHBUTTON), QStringLiteral("normal"));
    HoverButton* hovered = make(179, 148, 168, BS_PUSHBUTTON);
    m_hovered.push_back(hovered);
    AddSample(grid, 1, hovered, QStringLiteral("hover"));
    HoverButton* pressed = make(180, 163, 173, BS_PUSHBUTTON);
    m_pressed.push_back(pressed);
    AddSample(grid, 2, pressed, QStringLiteral("pressed"));
    HoverButton* disabled = make(181, 149, 169, BS_PUSHBUTTON);
    disabled->setEnabled(false);
    AddSample(grid, 3, disabled, QStringLiteral("disabled"));
    AddSample(grid, 4, make(182, 174, 167, BS_DEFPUSHBUTTON), QStringLiteral("default"));
    return box;
}

QWidget* GalleryWindow::ClassicStates(const DialogUnits& units) {
    QGroupBox* box = Section(QStringLiteral("HoverButton"), this);
    auto* grid = new QGridLayout(box);
    const auto captioned = [&](bool enabled) {
        auto* button = new HoverButton(box);
        button->setFixedSize(units.ToPixels(QSize(61, 29)));
        button->SetIcon(163, 173);
        button->setEnabled(enabled);
        m_captioned.emplace_back(button, 180);
        return button;
    };
    AddSample(grid, 0, captioned(true), QStringLiteral("flat"));
    HoverButton* raised = captioned(true);
    m_hovered.push_back(raised);
    AddSample(grid, 1, raised, QStringLiteral("hover"));
    HoverButton* sunken = captioned(true);
    m_pressed.push_back(sunken);
    AddSample(grid, 2, sunken, QStringLiteral("pressed"));
    AddSample(grid, 3, captioned(false), QStringLiteral("disabled"));
    HoverButton* focused = captioned(true);
    focused->SetColor(HoverButtonModel::BkFocus, palette().color(QPalette::Highlight).lighter(185));
    m_focused = focused;
    AddSample(grid, 4, focused, QStringLiteral("focus colour"));

    const auto languageButton = [&]() {
        auto* button = new HoverButton(box);
        button->setFixedSize(units.ToPixels(QSize(15, 13)));
        button->SetIcon(178, 179);
        button->SetColor(HoverButtonModel::BkIn, LightFace(button));
        m_tipped.emplace_back(button, 184);
        return button;
    };
    const auto pinButton = [&](bool checked) {
        auto* button = new HoverButton(box, BS_AUTOCHECKBOX | BS_PUSHLIKE);
        button->setFixedSize(units.ToPixels(QSize(16, 14)));
        button->SetIcon(161, 172);
        button->SetColor(HoverButtonModel::BkIn, LightFace(button));
        button->SetCheck(checked);
        m_tipped.emplace_back(button, 185);
        return button;
    };
    m_languageButton = languageButton();
    m_languageButton->SetMenu(IDR_LANGUAGE_MENU, this);
    AddSample(grid, 5, m_languageButton, QStringLiteral("menu"));
    HoverButton* languageHover = languageButton();
    m_hovered.push_back(languageHover);
    AddSample(grid, 6, languageHover, QStringLiteral("hover"));
    AddSample(grid, 7, pinButton(false), QStringLiteral("toggle"));
    HoverButton* pinHover = pinButton(false);
    m_hovered.push_back(pinHover);
    AddSample(grid, 8, pinHover, QStringLiteral("hover"));
    AddSample(grid, 9, pinButton(true), QStringLiteral("checked"));
    return box;
}

QWidget* GalleryWindow::LinkStates() {
    QGroupBox* box = Section(QStringLiteral("LinkLabel"), this);
    auto* grid = new QGridLayout(box);
    const QString web = LangText(103);
    const auto add = [&](LinkLabel* label, int row, const QString& state) {
        grid->addWidget(Caption(state, box), row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, row, 1, Qt::AlignLeft | Qt::AlignVCenter);
    };
    add(new LinkLabel(box, web), 0, QStringLiteral("link"));
    auto* visited = new LinkLabel(box, web);
    visited->SetVisited(true);
    add(visited, 1, QStringLiteral("visited"));
    auto* always = new LinkLabel(box, LangText(104), QStringLiteral("mailto:") + LangText(104));
    always->SetUnderline(1);
    add(always, 2, QStringLiteral("underlined"));
    m_copyright = new LinkLabel(box, LangText(163));
    m_copyright->SetColours(QColor(0x80, 0x80, 0x80), QColor(0x80, 0x80, 0x80), Qt::black);
    add(m_copyright, 3, QStringLiteral("copyright"));
    // Last, so its tooltip covers nothing.
    m_hoverLink = new LinkLabel(box, web);
    add(m_hoverLink, 4, QStringLiteral("hover"));
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* GalleryWindow::Bitmaps() {
    QGroupBox* box =
        Section(QStringLiteral("Images: state strip 131, list background 134, splash 176"), this);
    auto* row = new QHBoxLayout(box);
    row->addWidget(new ImagePanel(box));
    for (const int id : {134, 176}) {
        auto* picture = new QLabel(box);
        picture->setPixmap(LoadBitmap(id));
        picture->setFrameShape(QFrame::Box);
        QPalette palette = picture->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::Mid));
        picture->setPalette(palette);
        row->addWidget(picture, 0, Qt::AlignTop);
    }
    row->addStretch();
    return box;
}

void GalleryWindow::Relabel() {
    setWindowTitle(LangText(154) + QStringLiteral(" - gallery"));
    for (const auto& [button, stringId] : m_captioned)
        button->setText(LangText(stringId));
    for (const auto& [button, stringId] : m_tipped)
        button->SetTooltipText(LangText(stringId), true);
    if (m_copyright != nullptr) m_copyright->setText(LangText(163));
    update();
}

void GalleryWindow::OnCommand(int commandId) {
    if (ApplyLanguageCommand(commandId)) Relabel();
}

void GalleryWindow::ShowStates(bool openMenu) {
    activateWindow();
    QApplication::setActiveWindow(this);
    // The real pointer rests on the hover link; the hovered buttons get a
    // move of their own.
    if (m_hoverLink != nullptr) {
        QCursor::setPos(m_hoverLink->mapToGlobal(m_hoverLink->rect().center()));
    }
    for (HoverButton* button : m_hovered) {
        const QPointF local = button->rect().center();
        QMouseEvent move(QEvent::MouseMove, local, button->mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(button, &move);
    }
    for (HoverButton* button : m_pressed)
        button->setDown(true);
    if (m_focused != nullptr) m_focused->setFocus();
    if (openMenu && m_languageButton != nullptr) {
        QTimer::singleShot(200, m_languageButton, [button = m_languageButton] { button->click(); });
    }
}

}  // namespace pagelark
