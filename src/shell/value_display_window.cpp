// The value display window: the run's inner values grouped as the driver
// checks them, the sound channel grid and the three test buttons.
#include "shell/value_display_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "shell/qt_keys.h"
#include "state/run.h"
#include "view/value_display.h"

namespace cabdrive {
namespace {

const QColor playingColour(0, 255, 255);  // cyan
constexpr int gridCellSize = 26;           // px
constexpr int valueWidth = 120;            // px: the widest value of its kind fits

QString qtext(const std::string& text)
{
    return QString::fromStdString(text);
}

QProgressBar* makeBar(const QString& name, QWidget& parent)
{
    auto* bar = new QProgressBar(&parent);
    bar->setObjectName(name);
    bar->setTextVisible(false);
    bar->setMaximumHeight(12);
    return bar;
}

}  // namespace

ValueDisplayWindow::ValueDisplayWindow(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Value Display"));
    auto* columns = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    left->addWidget(buildSpeedsAndForces());
    left->addWidget(buildAir());
    right->addWidget(buildProtectionAndSignals());
    right->addWidget(buildVideoAndSound());
    left->addStretch();
    right->addStretch();
    columns->addLayout(left);
    columns->addLayout(right);
    // As large as its contents: the values have room enough not to move it.
    columns->setSizeConstraint(QLayout::SetFixedSize);
    // Typing a frame number must reach the field; every other key drives the train.
    m_edit->installEventFilter(this);
}

QLabel* ValueDisplayWindow::addField(QGridLayout& grid, int row, int column, const QString& title, const QString& name)
{
    auto* value = new QLabel;
    value->setObjectName(name);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setMinimumWidth(valueWidth);
    m_fields[name] = value;
    if (title.isEmpty()) {  // a line of its own
        grid.addWidget(value, row, 0, 1, 4);
        return value;
    }
    if (column < 0) {  // a long value: it takes the rest of the row
        grid.addWidget(new QLabel(title), row, 0);
        grid.addWidget(value, row, 1, 1, 3);
        return value;
    }
    auto* titleLabel = new QLabel(title);
    grid.addWidget(titleLabel, row, column * 2);
    grid.addWidget(value, row, column * 2 + 1);
    return value;
}

QWidget* ValueDisplayWindow::buildSpeedsAndForces()
{
    auto* box = new QGroupBox(QStringLiteral("速度・力"));
    auto* grid = new QGridLayout(box);
    int row = 0;
    addField(*grid, row, 0, QStringLiteral("速度"), QStringLiteral("Label1"));
    addField(*grid, row++, 1, QStringLiteral("加速度"), QStringLiteral("Label6"));
    addField(*grid, row, 0, QStringLiteral("車両"), QStringLiteral("Label7"));
    addField(*grid, row++, 1, QStringLiteral("抵抗"), QStringLiteral("Label25"));
    addField(*grid, row, 0, QStringLiteral("勾配"), QStringLiteral("Label27"));
    addField(*grid, row++, 1, QStringLiteral("勾配標"), QStringLiteral("slopePost"));
    addField(*grid, row, 0, QStringLiteral("電流"), QStringLiteral("Label50"));
    addField(*grid, row++, 1, QStringLiteral("電制"), QStringLiteral("Label69"));
    addField(*grid, row, 0, QStringLiteral("エンジン回転数"), QStringLiteral("Label40"));
    addField(*grid, row++, 1, QStringLiteral("ギア"), QStringLiteral("Label52"));
    addField(*grid, row++, -1, QStringLiteral("摩擦"), QStringLiteral("Label65"));
    addField(*grid, row++, -1, QStringLiteral("ノッチ状態"), QStringLiteral("Label44"));
    return box;
}

QWidget* ValueDisplayWindow::buildAir()
{
    auto* box = new QGroupBox(QStringLiteral("空気"));
    auto* grid = new QGridLayout(box);
    addField(*grid, 0, 0, QStringLiteral("BC圧(M車)"), QStringLiteral("Label2"));
    addField(*grid, 0, 1, QStringLiteral("BC圧(T車)"), QStringLiteral("Label11"));
    addField(*grid, 1, 0, QStringLiteral("SAP "), QStringLiteral("Label3"));
    addField(*grid, 1, 1, QStringLiteral("ER "), QStringLiteral("Label4"));
    addField(*grid, 2, 0, QStringLiteral("BP"), QStringLiteral("Label71"));
    addField(*grid, 2, 1, QStringLiteral("MR "), QStringLiteral("Label5"));
    const char* const names[] = {"Bar_Press0", "Bar_Press1", "Bar_Press6"};
    const QString titles[] = {QStringLiteral("BC(M車)"), QStringLiteral("BC(T車)"), QStringLiteral("電制")};
    for (int k = 0; k < 3; ++k) {
        m_bars[static_cast<std::size_t>(k)] = makeBar(QString::fromLatin1(names[k]), *box);
        grid->addWidget(new QLabel(titles[k]), 3 + k, 0);
        grid->addWidget(m_bars[static_cast<std::size_t>(k)], 3 + k, 1, 1, 3);
    }
    return box;
}

QWidget* ValueDisplayWindow::buildProtectionAndSignals()
{
    auto* box = new QGroupBox(QStringLiteral("保安・信号"));
    auto* grid = new QGridLayout(box);
    int row = 0;
    addField(*grid, row, 0, QStringLiteral("パターンまで"), QStringLiteral("Label8"));
    addField(*grid, row++, 1, QStringLiteral("パターン"), QStringLiteral("Label9"));
    addField(*grid, row++, -1, QStringLiteral("ATSP 距離/制限速度/パターン"), QStringLiteral("Label20"));
    addField(*grid, row++, -1, QStringLiteral("Limit 距離/制限速度/パターン"), QStringLiteral("Label60"));
    addField(*grid, row++, -1, QStringLiteral("Check 距離/制限速度/パターン"), QStringLiteral("Label61"));
    addField(*grid, row++, 0, QString(), QStringLiteral("Label21"));
    for (std::size_t k = 0; k < m_signalTitles.size(); ++k) {
        addField(*grid, row, 0, QStringLiteral("信号"), QStringLiteral("signal%1").arg(k + 1));
        m_signalTitles[k] = static_cast<QLabel*>(grid->itemAtPosition(row++, 0)->widget());
    }
    QLabel* memo = addField(*grid, row++, -1, QStringLiteral("ATS"), QStringLiteral("Memo1"));
    memo->setWordWrap(true);
    return box;
}

QWidget* ValueDisplayWindow::buildVideoAndSound()
{
    auto* box = new QGroupBox(QStringLiteral("映像・音"));
    auto* layout = new QVBoxLayout(box);
    auto* grid = new QGridLayout;
    int row = 0;
    addField(*grid, row, 0, QStringLiteral("Frame"), QStringLiteral("Label30"));
    addField(*grid, row++, 1, QStringLiteral("Projected"), QStringLiteral("Label31"));
    addField(*grid, row, 0, QStringLiteral("Frame_sub"), QStringLiteral("Label46"));
    addField(*grid, row++, 1, QStringLiteral("Movie"), QStringLiteral("Label54"));
    addField(*grid, row, 0, QStringLiteral("残距離"), QStringLiteral("Label33"));
    addField(*grid, row++, 1, QStringLiteral("走行距離"), QStringLiteral("Label35"));
    addField(*grid, row, 0, QStringLiteral("次駅"), QStringLiteral("Label37"));
    addField(*grid, row++, 1, QStringLiteral("標識ID"), QStringLiteral("Label56"));
    addField(*grid, row, 0, QStringLiteral("先行列車"), QStringLiteral("Label42"));
    addField(*grid, row++, 1, QStringLiteral("Frame"), QStringLiteral("Label23"));
    addField(*grid, row, 0, QStringLiteral("描画 FPS"), QStringLiteral("Label63"));
    addField(*grid, row++, 1, QStringLiteral("解説 Frame"), QStringLiteral("Label48"));
    addField(*grid, row++, -1, QStringLiteral("Sound"), QStringLiteral("Label57"));
    layout->addLayout(grid);

    m_grid = new QTableWidget(soundGridSide, soundGridSide);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setDefaultSectionSize(gridCellSize);
    m_grid->verticalHeader()->setDefaultSectionSize(gridCellSize - 6);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->setFocusPolicy(Qt::NoFocus);
    m_grid->setFixedSize(soundGridSide * gridCellSize + 2, soundGridSide * (gridCellSize - 6) + 2);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 0; r < soundGridSide; ++r) {
        for (int c = 0; c < soundGridSide; ++c) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignCenter);
            m_grid->setItem(r, c, cell);
        }
    }
    connect(m_grid, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (m_run)
            stopGridChannel(*m_run, column, row);
    });
    layout->addWidget(m_grid);

    auto* buttons = new QHBoxLayout;
    m_edit = new QLineEdit;
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_edit->setPlaceholderText(QStringLiteral("Frame"));
    const QString captions[] = {QStringLiteral("SU再読込"), QStringLiteral("jump"), QStringLiteral("抵抗解除")};
    for (int k = 0; k < 3; ++k) {
        auto* button = new QPushButton(captions[k]);
        button->setObjectName(QStringLiteral("Button%1").arg(k + 1));
        button->setFocusPolicy(Qt::NoFocus);
        m_buttons[static_cast<std::size_t>(k)] = button;
    }
    connect(m_buttons[0], &QPushButton::clicked, this, &ValueDisplayWindow::reloadSpeedUnitsClicked);
    connect(m_buttons[1], &QPushButton::clicked, this, &ValueDisplayWindow::jumpClicked);
    connect(m_buttons[2], &QPushButton::clicked, this, &ValueDisplayWindow::resistanceClicked);
    connect(m_edit, &QLineEdit::returnPressed, this, &ValueDisplayWindow::jumpClicked);
    buttons->addWidget(m_buttons[0]);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_buttons[1]);
    buttons->addWidget(m_buttons[2]);
    layout->addLayout(buttons);
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));
    layout->addWidget(m_status);
    return box;
}

void ValueDisplayWindow::attach(Run& run, QWidget& mainWindow, std::function<int()> drawingRate)
{
    m_run = &run;
    m_mainWindow = &mainWindow;
    m_drawingRate = std::move(drawingRate);
    QFont caption = m_buttons[2]->font();
    caption.setBold(false);
    m_buttons[2]->setFont(caption);
    m_status->clear();
}

void ValueDisplayWindow::detach()
{
    m_run = nullptr;
    m_mainWindow = nullptr;
    m_drawingRate = {};
    hide();
}

void ValueDisplayWindow::toggle()
{
    if (isVisible()) {
        hide();
        return;
    }
    show();
    refresh();
}

QLabel* ValueDisplayWindow::field(const QString& name) const
{
    const auto found = m_fields.find(name);
    return found == m_fields.end() ? nullptr : found->second;
}

QString ValueDisplayWindow::statusText() const
{
    return m_status->text();
}

void ValueDisplayWindow::setField(const char* name, const std::string& text)
{
    QLabel* label = field(QString::fromLatin1(name));
    const QString shown = qtext(text);
    if (label && label->text() != shown)
        label->setText(shown);
}

void ValueDisplayWindow::refresh()
{
    if (!m_run || !isVisible())
        return;
    showTexts(valueDisplayTexts(*m_run, m_drawingRate ? m_drawingRate() : 0));
    paintGrid();
    // The serial controller's last message, for checking a controller's codes.
    const std::string& message = m_run->state.controller.lastSerialMessage;
    setWindowTitle(message.empty() ? QStringLiteral("Value Display") : qtext(message));
}

void ValueDisplayWindow::showTexts(const ValueDisplayTexts& t)
{
    const std::pair<const char*, const std::string*> fields[] = {
        {"Label1", &t.speed}, {"Label6", &t.acceleration}, {"Label7", &t.traction}, {"Label25", &t.resistance},
        {"Label27", &t.gradient}, {"slopePost", &t.slopePost}, {"Label50", &t.current}, {"Label69", &t.electricBrake},
        {"Label40", &t.engineSpeed}, {"Label52", &t.gear}, {"Label65", &t.adhesion}, {"Label44", &t.notches},
        {"Label2", &t.bcMotorCar}, {"Label11", &t.bcTrailerCar}, {"Label3", &t.sap}, {"Label4", &t.er},
        {"Label71", &t.bp}, {"Label5", &t.mr}, {"Label8", &t.patternDistance}, {"Label9", &t.patternCode},
        {"Label20", &t.patternLine}, {"Label60", &t.limitLine}, {"Label61", &t.checkLine}, {"Label21", &t.signalLine},
        {"Label30", &t.frame}, {"Label31", &t.filmingSpeed}, {"Label46", &t.playbackFrame}, {"Label54", &t.videoMode},
        {"Label33", &t.distanceToStop}, {"Label35", &t.distanceRun}, {"Label37", &t.nextStop},
        {"Label56", &t.signCallout}, {"Label42", &t.precedingTrain}, {"Label23", &t.precedingFrame},
        {"Label63", &t.drawingRate}, {"Label48", &t.informationFrame}, {"Label57", &t.soundGroups},
    };
    for (const auto& [name, text] : fields)
        setField(name, *text);
    // Each signal line is titled with its [Signal] row.
    for (std::size_t k = 0; k < t.signals.size(); ++k) {
        const std::string name = "signal" + std::to_string(k + 1);
        setField(name.c_str(), t.signals[k]);
        const int row = t.signalRows[k];
        m_signalTitles[k]->setText(row < 0 ? QStringLiteral("信号") : QStringLiteral("信号 %1").arg(row));
    }
    setField("Memo1", t.protection2.empty() ? t.protection1 : t.protection1 + "\n" + t.protection2);
    const int values[] = {t.barMotorCar, t.barTrailerCar, t.barElectricBrake};
    const int tops[] = {t.barPressureTop, t.barPressureTop, t.barCurrentTop};
    for (std::size_t k = 0; k < m_bars.size(); ++k) {
        m_bars[k]->setMaximum(tops[k]);
        m_bars[k]->setValue(values[k]);
    }
}

// Every cell is written again, so a channel that has fallen silent loses its colour.
void ValueDisplayWindow::paintGrid()
{
    const auto cells = cabdrive::soundGrid(*m_run);
    const QBrush window = palette().brush(QPalette::Base);
    for (int r = 0; r < soundGridSide; ++r) {
        for (int c = 0; c < soundGridSide; ++c) {
            const SoundGridCell& cell = cells[static_cast<std::size_t>(r * soundGridSide + c)];
            QTableWidgetItem* item = m_grid->item(r, c);
            item->setText(qtext(cell.text));
            item->setBackground(cell.playing ? QBrush(playingColour) : window);
        }
    }
}

void ValueDisplayWindow::reloadSpeedUnitsClicked()
{
    if (!m_run)
        return;
    const QString file = qtext(m_run->route.programFolder + m_run->route.routeFileName);
    if (reloadSpeedUnits(*m_run))
        m_status->setText(QStringLiteral("[SpeedUnit] を読み直しました: %1 行").arg(m_run->speedUnits().size()));
    else
        m_status->setText(QStringLiteral("%1 の [SpeedUnit] を読めません。速度表は変わりません").arg(file));
}

void ValueDisplayWindow::jumpClicked()
{
    if (!m_run)
        return;
    const QString text = m_edit->text();
    if (jumpToFrame(*m_run, text.toStdString()))
        m_status->setText(QStringLiteral("フレーム %1 へ移動しました").arg(m_run->state.video.currentFrame));
    else
        m_status->setText(QStringLiteral("「%1」はフレーム番号ではありません。フレームは変わりません").arg(text));
}

void ValueDisplayWindow::resistanceClicked()
{
    if (!m_run)
        return;
    QFont caption = m_buttons[2]->font();
    caption.setBold(toggleResistance(*m_run));
    m_buttons[2]->setFont(caption);
}

void ValueDisplayWindow::forwardKey(const QKeyEvent& event)
{
    if (m_mainWindow)
        passKeyOn(event, *m_mainWindow);
}

void ValueDisplayWindow::keyPressEvent(QKeyEvent* event)
{
    forwardKey(*event);
}

void ValueDisplayWindow::keyReleaseEvent(QKeyEvent* event)
{
    forwardKey(*event);
}

// In the frame field the keys type, except the function keys, which still
// drive the train (F3 hides the window).
bool ValueDisplayWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.key() >= Qt::Key_F1 && key.key() <= Qt::Key_F12) {
            forwardKey(key);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace cabdrive
