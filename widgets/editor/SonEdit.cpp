#include "SonEdit.h"

#include "SonEditAccessible.h"
#include "SonEditKeys.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>

#include <algorithm>

namespace {
constexpr int kMaxMargin = 30;
constexpr int kWheelRows = 3;
} // namespace

TSonEdit::TSonEdit(QWidget *parent, const QString &objectName)
    : QAbstractScrollArea(parent)
{
    setObjectName(objectName);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    m_blink.setInterval(QApplication::cursorFlashTime() > 0 ? QApplication::cursorFlashTime() / 2 : 500);
    connect(&m_blink, &QTimer::timeout, this, [this] {
        m_caretOn = !m_caretOn;
        viewport()->update();
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
    m_model.SetRowMeasure([this](int row) { return RowXs(row); });
    UpdateScrollBars();
    TSonEditAccessible::Install(this);
}

void TSonEdit::SetFaultHook(std::function<void(const char *)> hook)
{
    m_faultHook = hook;
    m_model.Store().SetFaultHook(std::move(hook));
}

void TSonEdit::Fault(const char *step) const
{
    if (m_faultHook)
        m_faultHook(step);
}

QClipboard *TSonEdit::Clipboard() const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    try {
        Fault("clipboard");
    } catch (const std::exception &) {
        clipboard = nullptr;
    }
    if (!clipboard)
        throw TSonStepError(QStringLiteral("Error:OC003"));
    return clipboard;
}

// ---- text -----------------------------------------------------------------

void TSonEdit::SetText(const QString &text)
{
    const QString before = SonEditAccess::TextBefore(this);
    m_model.SetText(text);
    UpdateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    SonEditAccess::TextChanged(this, before);
    SonEditAccess::CaretMoved(this);
}

void TSonEdit::Clear()
{
    SetText(QString());
    m_caretOn = true;
}

void TSonEdit::SelectAll()
{
    Apply([this] { return m_model.SelectAll(); });
}

void TSonEdit::SetCaret(TSonPos pos, bool keepAnchor)
{
    MoveCaret(pos, keepAnchor);
}

// ---- editing steps ------------------------------------------------------------

bool TSonEdit::RunStep(const std::function<void()> &step)
{
    const TSonEditModel::Snapshot before = m_model.Save();
    QString failure;
    try {
        step();
    } catch (const TSonStepError &error) {
        failure = error.Text();
    } catch (const std::exception &error) {
        failure = QStringLiteral("Error:OC004 ") + QString::fromLocal8Bit(error.what());
    }
    if (failure.isEmpty())
        return true;
    m_model.Restore(before);
    UpdateScrollBars();
    viewport()->update();
    QMessageBox box(QMessageBox::NoIcon, QString(), failure, QMessageBox::Ok, this);
    box.exec();
    return false;
}

void TSonEdit::Apply(const std::function<TSonEditResult()> &change)
{
    // A screen reader is told what changed, so it needs the text before.
    const QString before = SonEditAccess::TextBefore(this);
    TSonEditResult result;
    const bool done = RunStep([&] {
        result = change();
        verticalScrollBar()->setValue(verticalScrollBar()->value() + result.scrollRows);
        if (result.caretMoved)
            ShowCaret();
    });
    if (!done)
        return;
    if (result.modeChanged) {
        viewport()->update();
        Q_EMIT InsertModeChanged(m_model.Overwrite());
    }
    if (result.textChanged)
        SonEditAccess::TextChanged(this, before);
    if (result.caretMoved || result.textChanged)
        SonEditAccess::CaretMoved(this);
    if (result.textChanged)
        Q_EMIT Change();
}

void TSonEdit::ReplaceSelection(const QString &text)
{
    Apply([&] { return m_model.ReplaceSelection(text); });
}

void TSonEdit::ReplaceText(TSonPos from, TSonPos to, const QString &text)
{
    Apply([&] {
        m_model.MoveCaret(from, false);
        m_model.MoveCaret(to, true);
        return m_model.ReplaceSelection(text);
    });
}

void TSonEdit::CopyToClipboard()
{
    if (!HasSelection())
        return;
    RunStep([&] {
        QString text;
        try {
            Fault("copy");
            text = m_model.ClipboardText();
        } catch (const std::exception &) {
            throw TSonStepError(QStringLiteral("Error:OC002"));
        }
        Clipboard()->setText(text);
    });
}

void TSonEdit::CutToClipboard()
{
    if (!HasSelection() || m_model.ReadOnly())
        return;
    CopyToClipboard();
    // Only what reached the clipboard is taken out of the text.
    if (QGuiApplication::clipboard() && QGuiApplication::clipboard()->text() == m_model.ClipboardText())
        ReplaceSelection(QString());
}

void TSonEdit::PasteFromClipboard()
{
    if (m_model.ReadOnly())
        return;
    QString text;
    if (!RunStep([&] {
            const QMimeData *data = Clipboard()->mimeData();
            if (data && data->hasText())
                text = data->text();
        }))
        return;
    text.remove(QChar(0));
    if (!text.isEmpty())
        ReplaceSelection(text);
}

void TSonEdit::Undo()
{
    Apply([this] { return m_model.Undo(); });
}

// ---- caret and scrolling ------------------------------------------------------

void TSonEdit::MoveCaret(TSonPos pos, bool keepAnchor)
{
    m_model.MoveCaret(pos, keepAnchor);
    ShowCaret();
    SonEditAccess::CaretMoved(this);
}

void TSonEdit::ShowCaret()
{
    try {
        Fault("caret");
    } catch (const std::exception &) {
        throw TSonStepError(QStringLiteral("Error:OC004_2"));
    }
    m_caretOn = true;
    if (hasFocus())
        m_blink.start();
    UpdateScrollBars();
    EnsureCaretVisible();
    viewport()->update();
    if (QGuiApplication::inputMethod())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImCursorPosition | Qt::ImAnchorPosition
                                               | Qt::ImSurroundingText | Qt::ImCurrentSelection);
}

void TSonEdit::EnsureCaretVisible()
{
    try {
        Fault("scroll");
    } catch (const std::exception &) {
        throw TSonStepError(QStringLiteral("Error:OC004_3_row"));
    }
    const TSonStrings &store = m_model.Store();
    const int row = store.RowOf(Caret());
    QScrollBar *v = verticalScrollBar();
    if (row < v->value())
        v->setValue(row);
    else if (row >= v->value() + VisibleRows())
        v->setValue(row - VisibleRows() + 1);
    const TSonRow &r = store.Rows().at(row);
    const int x = RowXs(row).at(Caret().index - r.start);
    QScrollBar *h = horizontalScrollBar();
    const int width = std::max(10, viewport()->width() - TextLeft() - SonEditDraw::CaretWidth);
    if (x < h->value())
        h->setValue(x);
    else if (x > h->value() + width) {
        if (h->maximum() < x - width)
            h->setMaximum(x - width);
        h->setValue(x - width);
    }
}

int TSonEdit::RowHeight() const
{
    return QFontMetrics(m_look.font).lineSpacing();
}

int TSonEdit::TextLeft() const
{
    const int gutter = m_look.showLineNumbers
        ? SonEditDraw::LineNumberWidth(QFontMetrics(m_look.font).horizontalAdvance(QLatin1Char('0')),
                                       m_look.lineNumberDigits)
        : 0;
    return gutter + m_look.leftMargin;
}

int TSonEdit::FirstVisibleRow() const { return verticalScrollBar()->value(); }

int TSonEdit::VisibleRows() const
{
    return std::max(1, (viewport()->height() - m_look.topMargin) / std::max(1, RowHeight()));
}

// One past the last row on the screen, counting the partly shown one.
int TSonEdit::VisibleRowsEnd() const
{
    return std::min(Store().RowCount(), FirstVisibleRow() + VisibleRows() + 1);
}

int TSonEdit::RowTop(int row) const
{
    return m_look.topMargin + (row - FirstVisibleRow()) * RowHeight();
}

QList<int> TSonEdit::RowXs(int row) const
{
    const QFontMetrics fm(m_look.font);
    const TSonRow &r = Store().Rows().at(row);
    const QString &line = Store().Line(r.line);
    QList<int> columns;
    Store().RowDisplayText(row, &columns);
    const int space = fm.horizontalAdvance(QLatin1Char(' '));
    QList<int> xs;
    xs.reserve(r.length + 1);
    int x = 0;
    for (int i = 0; i < r.length; ++i) {
        xs.append(x);
        const QChar c = line.at(r.start + i);
        if (c == QLatin1Char('\t'))
            x += space * (columns.at(i + 1) - columns.at(i));
        else if (!c.isLowSurrogate())
            x += fm.horizontalAdvance(SonEditDraw::CellText(line, r.start + i));
    }
    xs.append(x);
    return xs;
}

int TSonEdit::RowWidth(int row) const { return RowXs(row).last(); }

QPoint TSonEdit::PointOf(TSonPos pos) const
{
    pos = Store().Clamp(pos);
    const int row = Store().RowOf(pos);
    const TSonRow &r = Store().Rows().at(row);
    const int x = RowXs(row).at(pos.index - r.start);
    return {TextLeft() + x - horizontalScrollBar()->value(), RowTop(row)};
}

QRect TSonEdit::CaretRect() const
{
    const QPoint p = PointOf(Caret());
    return {p.x(), p.y(), SonEditDraw::CaretWidth, RowHeight()};
}

TSonPos TSonEdit::PosAtPoint(const QPoint &point) const
{
    const int row = std::clamp(FirstVisibleRow() + (point.y() - m_look.topMargin) / std::max(1, RowHeight())
                                   - (point.y() < m_look.topMargin ? 1 : 0),
                               0, Store().RowCount() - 1);
    const int x = point.x() - TextLeft() + horizontalScrollBar()->value();
    const QList<int> xs = RowXs(row);
    const TSonRow &r = Store().Rows().at(row);
    int index = 0;
    for (int i = 0; i < r.length; ++i) {
        if (Store().Line(r.line).at(r.start + i).isLowSurrogate())
            continue;
        if (x >= (xs.at(i) + xs.at(i + 1) + 1) / 2)
            index = i + 1;
    }
    if (!r.endsLine && index >= r.length)
        index = r.length - 1;
    return {r.line, r.start + std::max(0, index)};
}

void TSonEdit::UpdateScrollBars()
{
    QScrollBar *v = verticalScrollBar();
    v->setRange(0, std::max(0, Store().RowCount() - VisibleRows()));
    v->setPageStep(VisibleRows());
    v->setSingleStep(1);
    // Only rows seen so far are measured; wrapped rows keep the width bounded.
    int widest = 0;
    for (int row = FirstVisibleRow(); row < VisibleRowsEnd(); ++row)
        widest = std::max(widest, RowWidth(row));
    QScrollBar *h = horizontalScrollBar();
    const int textWidth = std::max(0, viewport()->width() - TextLeft());
    h->setRange(0, std::max(h->maximum() > 0 && !Store().WordWrap() ? h->maximum() : 0,
                            widest + 2 * SonEditDraw::CaretWidth - textWidth));
    h->setPageStep(std::max(1, textWidth));
    h->setSingleStep(std::max(1, QFontMetrics(m_look.font).averageCharWidth()));
}

// ---- appearance ---------------------------------------------------------------

void TSonEdit::SetShowLineNumbers(bool on, int digits)
{
    m_look.showLineNumbers = on;
    m_look.lineNumberDigits = std::max(1, digits);
    ReLayout();
}

void TSonEdit::SetTopMargin(int pixels)
{
    m_look.topMargin = std::clamp(pixels, 0, kMaxMargin);
    ReLayout();
}

void TSonEdit::SetLeftMargin(int pixels)
{
    m_look.leftMargin = std::clamp(pixels, 0, kMaxMargin);
    ReLayout();
}

void TSonEdit::SetWordWrap(bool on, int column)
{
    m_model.Store().SetWordWrap(on);
    m_model.Store().SetWrapColumn(column);
    ReLayout();
}

void TSonEdit::SetTabWidth(int width)
{
    m_model.Store().SetTabWidth(width);
    ReLayout();
}

void TSonEdit::ReLayout()
{
    const int scroll = verticalScrollBar()->value();
    RunStep([&] {
        try {
            m_model.Store().Rewrap();
        } catch (const std::exception &error) {
            throw TSonStepError(QStringLiteral("Error:OC004 ") + QString::fromLocal8Bit(error.what()));
        }
    });
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Base, m_look.backColor);
    viewport()->setPalette(pal);
    UpdateScrollBars();
    verticalScrollBar()->setValue(scroll);
    viewport()->update();
}

// ---- events -------------------------------------------------------------------

bool TSonEdit::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        if (key->key() == Qt::Key_Tab && m_model.AcceptTabs() && !ctrl) {
            keyPressEvent(key);
            return true;
        }
        // Tab types a tab here, so Ctrl+Tab is the keyboard's way on to the next control.
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && ctrl) {
            focusNextPrevChild(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Editing keys belong to the editor, not to shortcuts of the window.
        auto *key = static_cast<QKeyEvent *>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        if ((ctrl && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z) || !key->text().isEmpty()) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TSonEdit::keyPressEvent(QKeyEvent *event)
{
    const std::optional<TSonEditCommand> command
        = SonEditKeys::CommandFor(event->key(), event->modifiers(), event->text());
    if (command)
        RunCommand(*command, *event);
    // Keys without a command (the function keys among them) go on to the screen.
    event->setAccepted(command.has_value());
    Q_EMIT KeyDown(event->key(), event->modifiers());
}

void TSonEdit::RunCommand(TSonEditCommand command, const QKeyEvent &event)
{
    switch (command) {
    case TSonEditCommand::Copy:
        CopyToClipboard();
        break;
    case TSonEditCommand::Cut:
        CutToClipboard();
        break;
    case TSonEditCommand::Paste:
        PasteFromClipboard();
        break;
    default: {
        const TSonCommandInput input{(event.modifiers() & Qt::ShiftModifier) != 0, event.text(),
                                     std::max(1, VisibleRows() - 1)};
        Apply([&] { return m_model.Run(command, input); });
    }
    }
}

void TSonEdit::inputMethodEvent(QInputMethodEvent *event)
{
    m_preedit = event->preeditString();
    if (!event->commitString().isEmpty())
        ReplaceSelection(event->commitString());
    viewport()->update();
    event->accept();
}

QVariant TSonEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return !m_model.ReadOnly();
    case Qt::ImCursorRectangle:
        return CaretRect().translated(viewport()->pos());
    case Qt::ImFont:
        return m_look.font;
    case Qt::ImCursorPosition:
        return Caret().index;
    case Qt::ImAnchorPosition:
        return Anchor().line == Caret().line ? Anchor().index : Caret().index;
    case Qt::ImSurroundingText:
        return Store().Line(Caret().line);
    case Qt::ImCurrentSelection:
        return SelectedText();
    case Qt::ImHints:
        return static_cast<int>(Qt::ImhMultiLine);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void TSonEdit::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const TSonPos pos = PosAtPoint(event->position().toPoint());
    m_pressPoint = event->position().toPoint();
    if (HasSelection() && m_model.InSelection(pos) && !(event->modifiers() & Qt::ShiftModifier)) {
        m_dragArmed = true;
        return;
    }
    m_selecting = true;
    RunStep([&] { MoveCaret(pos, event->modifiers() & Qt::ShiftModifier); });
}

void TSonEdit::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (m_selecting) {
        RunStep([&] { MoveCaret(PosAtPoint(point), true); });
        return;
    }
    if (m_dragArmed && (point - m_pressPoint).manhattanLength() >= QApplication::startDragDistance()) {
        m_dragging = true;
    }
    if (m_dragging) {
        m_dropPos = PosAtPoint(point);
        viewport()->update();
    }
}

void TSonEdit::mouseReleaseEvent(QMouseEvent *event)
{
    const TSonPos pos = PosAtPoint(event->position().toPoint());
    if (m_dragging)
        Apply([&] { return m_model.MoveSelectionTo(pos); });
    else if (m_dragArmed)
        RunStep([&] { MoveCaret(pos, false); });
    m_selecting = m_dragArmed = m_dragging = false;
    viewport()->update();
}

void TSonEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const TSonPos pos = PosAtPoint(event->position().toPoint());
    Apply([&] { return m_model.SelectWordAt(pos); });
}

void TSonEdit::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 120;
    verticalScrollBar()->setValue(verticalScrollBar()->value() - steps * kWheelRows);
    event->accept();
}

void TSonEdit::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TSonEdit::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    m_caretOn = true;
    m_blink.start();
    viewport()->update();
}

void TSonEdit::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_blink.stop();
    viewport()->update();
}
