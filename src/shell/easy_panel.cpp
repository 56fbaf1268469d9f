// The easy panel window: big buttons for the main controls and the notch
// shapes that show where the handles stand.
#include "shell/easy_panel.h"
#include "shell/qt_keys.h"
#include "state/run.h"

#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>


namespace cabdrive {
namespace {

constexpr int shapeLeft = 20, shapeWidth = 40, shapeHeight = 12, shapeStep = 16;  // px
constexpr int buttonLeft = 170, buttonWidth = 96, buttonHeight = 30;                // px
constexpr int panelWidth = 280, panelHeight = 330;                                  // px

// Top of a notch shape: the power notches above neutral, the brake notches
// below it, the strongest at either end.
int powerShapeTop(int notch) { return 30 + (5 - notch) * shapeStep; }
int neutralShapeTop() { return powerShapeTop(0); }
int brakeShapeTop(int notch) { return neutralShapeTop() + notch * shapeStep; }

QColor shapeColour(IndicatorColour colour)
{
    switch (colour) {
    case IndicatorColour::Green: return Qt::green;
    case IndicatorColour::Yellow: return Qt::yellow;
    case IndicatorColour::Red: return Qt::red;
    case IndicatorColour::White: break;
    }
    return Qt::white;
}

void paintShape(QFrame& shape, IndicatorColour colour)
{
    QPalette palette = shape.palette();
    palette.setColor(QPalette::Window, shapeColour(colour));
    shape.setPalette(palette);
}

// A character message, as a key press would bring it.
void postCharacter(QWidget& target, char ch)
{
    QCoreApplication::postEvent(&target, new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(ch))));
}

}  // namespace

EasyPanel::EasyPanel(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("かんたん運転台"));
    setFixedSize(panelWidth, panelHeight);

    addLabel(QStringLiteral("↑"), shapeLeft + 14, 10);
    addLabel(QStringLiteral("加速"), shapeLeft + shapeWidth + 10, powerShapeTop(3));
    addLabel(QStringLiteral("惰行"), shapeLeft + shapeWidth + 10, neutralShapeTop() - 2);
    addLabel(QStringLiteral("（ニュートラル）"), shapeLeft + shapeWidth + 10, neutralShapeTop() + 12);
    addLabel(QStringLiteral("ブレーキ"), shapeLeft + shapeWidth + 10, brakeShapeTop(5));
    addLabel(QStringLiteral("↓"), shapeLeft + 14, brakeShapeTop(8) + shapeStep);

    for (int notch = 1; notch <= 5; ++notch)
        m_powerShapes[notch - 1] = addShape(QStringLiteral("KP%1").arg(notch), powerShapeTop(notch));
    m_neutralShape = addShape(QStringLiteral("KN"), neutralShapeTop());
    for (int notch = 1; notch <= 8; ++notch)
        m_brakeShapes[notch - 1] = addShape(QStringLiteral("KB%1").arg(notch), brakeShapeTop(notch));
    m_brakeShapes[7]->hide();

    addButton(EasyPanelButton::Accelerate, QStringLiteral("加速"), 20);
    addButton(EasyPanelButton::Neutral, QStringLiteral("ニュートラル"), 60);
    addButton(EasyPanelButton::Decelerate, QStringLiteral("減速"), 100);
    addButton(EasyPanelButton::Reverser, QStringLiteral("逆転器"), 140);
    addButton(EasyPanelButton::Doors, QStringLiteral("ドア開閉"), 180);
    addButton(EasyPanelButton::Announcement, QStringLiteral("案内放送"), 220)->setEnabled(false);
    addButton(EasyPanelButton::Rewind, QStringLiteral("巻戻し"), 260)->setEnabled(false);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->setGeometry(0, panelHeight - 22, panelWidth, 22);
}

void EasyPanel::attach(const Run& run, QWidget& mainWindow)
{
    m_run = &run;
    m_mainWindow = &mainWindow;
    refresh();
}

void EasyPanel::detach()
{
    m_run = nullptr;
    m_mainWindow = nullptr;
}

void EasyPanel::refresh()
{
    if (!m_run)
        return;
    m_shown = easyPanelIndicators(*m_run);
    paintShape(*m_neutralShape, m_shown.neutral);
    for (std::size_t i = 0; i < m_powerShapes.size(); ++i)
        paintShape(*m_powerShapes[i], m_shown.power[i]);
    for (std::size_t i = 0; i < m_brakeShapes.size(); ++i)
        paintShape(*m_brakeShapes[i], m_shown.brake[i]);
    const QString doors = QString::fromStdString(m_run->state.presentation.easyPanelText);
    if (m_statusBar->currentMessage() != doors)
        m_statusBar->showMessage(doors);
}

QPushButton* EasyPanel::button(EasyPanelButton which) const
{
    return m_buttons.at(static_cast<std::size_t>(which));
}

QString EasyPanel::statusText() const
{
    return m_statusBar->currentMessage();
}

QPushButton* EasyPanel::addButton(EasyPanelButton which, const QString& caption, int top)
{
    auto* button = new QPushButton(caption, this);
    button->setGeometry(buttonLeft, top, buttonWidth, buttonHeight);
    button->installEventFilter(this);
    connect(button, &QPushButton::clicked, this, [this, which] { press(which); });
    m_buttons.at(static_cast<std::size_t>(which)) = button;
    return button;
}

QFrame* EasyPanel::addShape(const QString& name, int top)
{
    auto* shape = new QFrame(this);
    shape->setObjectName(name);
    shape->setFrameShape(QFrame::Box);
    shape->setAutoFillBackground(true);
    shape->setGeometry(shapeLeft, top, shapeWidth, shapeHeight);
    paintShape(*shape, IndicatorColour::White);
    return shape;
}

void EasyPanel::addLabel(const QString& text, int left, int top)
{
    auto* label = new QLabel(text, this);
    label->move(left, top);
}

void EasyPanel::press(EasyPanelButton which)
{
    if (!m_run || !m_mainWindow)
        return;
    if (const char ch = easyPanelCharacter(*m_run, which))
        postCharacter(*m_mainWindow, ch);
}

void EasyPanel::forwardKey(const QKeyEvent& event)
{
    if (m_mainWindow)
        passKeyOn(event, *m_mainWindow);
}

// The buttons' keys drive the train like the window's own: a focused button
// must not turn Space or Enter into a click of its own.
bool EasyPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        forwardKey(static_cast<const QKeyEvent&>(*event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void EasyPanel::keyPressEvent(QKeyEvent* event)
{
    forwardKey(*event);
}

void EasyPanel::keyReleaseEvent(QKeyEvent* event)
{
    forwardKey(*event);
}

}  // namespace cabdrive
