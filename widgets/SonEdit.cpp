#include "SonEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {
constexpr int kMaxMargin = 30;
constexpr int kWheelRows = 3;
constexpr int kCaretWidth = 2;

QString CellText(const QString &line, int index)
{
    if (line.at(index).isHighSurrogate() && index + 1 < line.size())
        return line.mid(index, 2);
    return QString(line.at(index));
}
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
    UpdateScrollBars();
}

void TSonEdit::SetFaultHook(std::function<void(const char *)> hook)
{
    m_faultHook = hook;
    m_store.SetFaultHook(std::move(hook));
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
    m_store.SetText(text);
    m_caret = m_anchor = TSonPos{};
    m_goalX = -1;
    UpdateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void TSonEdit::Clear()
{
    SetText(QString());
    m_caretOn = true;
}

QString TSonEdit::SelectedText() const
{
    return m_store.TextBetween(m_anchor, m_caret);
}

void TSonEdit::SelectAll()
{
    m_anchor = TSonPos{};
    MoveCaret(m_store.End(), true);
}

void TSonEdit::SetCaret(TSonPos pos, bool keepAnchor)
{
    MoveCaret(m_store.Clamp(pos), keepAnchor);
}

// ---- editing steps ------------------------------------------------------------

bool TSonEdit::RunStep(const std::function<void()> &step)
{
    const TSonStrings::Snapshot before = m_store.Save();
    const TSonPos caret = m_caret;
    const TSonPos anchor = m_anchor;
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
    m_store.Restore(before);
    m_caret = caret;
    m_anchor = anchor;
    UpdateScrollBars();
    viewport()->update();
    QMessageBox box(QMessageBox::NoIcon, QString(), failure, QMessageBox::Ok, this);
    box.exec();
    return false;
}

void TSonEdit::ReplaceSelection(const QString &text)
{
    if (m_look.readOnly)
        return;
    const bool changed = HasSelection() || !text.isEmpty();
    if (!changed)
        return;
    if (RunStep([&] {
            const TSonPos after = m_store.Replace(m_anchor, m_caret, text);
            MoveCaret(after, false);
        }))
        Q_EMIT Change();
}

void TSonEdit::DeleteRange(TSonPos from, TSonPos to)
{
    if (m_look.readOnly || from == to)
        return;
    if (RunStep([&] {
            m_store.Remove(from, to);
            MoveCaret(std::min(from, to), false);
        }))
        Q_EMIT Change();
}

void TSonEdit::CopyToClipboard()
{
    if (!HasSelection())
        return;
    RunStep([&] {
        QString text;
        try {
            Fault("copy");
            text = SelectedText();
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        } catch (const std::exception &) {
            throw TSonStepError(QStringLiteral("Error:OC002"));
        }
        Clipboard()->setText(text);
    });
}

void TSonEdit::CutToClipboard()
{
    if (!HasSelection() || m_look.readOnly)
        return;
    CopyToClipboard();
    if (QGuiApplication::clipboard() && QGuiApplication::clipboard()->text() == QString(SelectedText()).replace(QLatin1String("\r\n"), QLatin1String("\n")))
        ReplaceSelection(QString());
}

void TSonEdit::PasteFromClipboard()
{
    if (m_look.readOnly)
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
    if (m_look.readOnly || !m_store.CanUndo())
        return;
    if (RunStep([&] {
            TSonPos caret;
            m_store.Undo(&caret);
            MoveCaret(caret, false);
        }))
        Q_EMIT Change();
}

// ---- caret and scrolling ------------------------------------------------------

void TSonEdit::MoveCaret(TSonPos pos, bool keepAnchor, bool keepGoal)
{
    try {
        Fault("caret");
        m_caret = m_store.Clamp(pos);
        if (!keepAnchor)
            m_anchor = m_caret;
        if (!keepGoal)
            m_goalX = -1;
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

void TSonEdit::MoveRows(int rows, bool keepAnchor)
{
    const int row = m_store.RowOf(m_caret);
    if (m_goalX < 0)
        m_goalX = PointOf(m_caret).x() + horizontalScrollBar()->value() - TextLeft();
    const int target = std::clamp(row + rows, 0, m_store.RowCount() - 1);
    const QList<int> xs = RowXs(target);
    const TSonRow &r = m_store.Rows().at(target);
    int best = 0;
    for (int i = 0; i < xs.size(); ++i) {
        if (i < r.length && m_store.Line(r.line).at(r.start + i).isLowSurrogate())
            continue;
        if (!r.endsLine && i >= r.length)
            break;
        if (std::abs(xs.at(i) - m_goalX) < std::abs(xs.at(best) - m_goalX))
            best = i;
    }
    MoveCaret({r.line, r.start + best}, keepAnchor, true);
}

void TSonEdit::EnsureCaretVisible()
{
    try {
        Fault("scroll");
    } catch (const std::exception &) {
        throw TSonStepError(QStringLiteral("Error:OC004_3_row"));
    }
    const int row = m_store.RowOf(m_caret);
    QScrollBar *v = verticalScrollBar();
    if (row < v->value())
        v->setValue(row);
    else if (row >= v->value() + VisibleRows())
        v->setValue(row - VisibleRows() + 1);
    const TSonRow &r = m_store.Rows().at(row);
    const int x = RowXs(row).at(m_caret.index - r.start);
    QScrollBar *h = horizontalScrollBar();
    const int width = std::max(10, viewport()->width() - TextLeft() - kCaretWidth);
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

QList<int> TSonEdit::RowXs(int row) const
{
    const QFontMetrics fm(m_look.font);
    const TSonRow &r = m_store.Rows().at(row);
    const QString &line = m_store.Line(r.line);
    QList<int> columns;
    m_store.RowDisplayText(row, &columns);
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
            x += fm.horizontalAdvance(CellText(line, r.start + i));
    }
    xs.append(x);
    return xs;
}

int TSonEdit::RowWidth(int row) const { return RowXs(row).last(); }

QPoint TSonEdit::PointOf(TSonPos pos) const
{
    pos = m_store.Clamp(pos);
    const int row = m_store.RowOf(pos);
    const TSonRow &r = m_store.Rows().at(row);
    const int x = RowXs(row).at(pos.index - r.start);
    return {TextLeft() + x - horizontalScrollBar()->value(),
            m_look.topMargin + (row - FirstVisibleRow()) * RowHeight()};
}

QRect TSonEdit::CaretRect() const
{
    const QPoint p = PointOf(m_caret);
    return {p.x(), p.y(), kCaretWidth, RowHeight()};
}

TSonPos TSonEdit::PosAtPoint(const QPoint &point) const
{
    const int row = std::clamp(FirstVisibleRow() + (point.y() - m_look.topMargin) / std::max(1, RowHeight())
                                   - (point.y() < m_look.topMargin ? 1 : 0),
                               0, m_store.RowCount() - 1);
    const int x = point.x() - TextLeft() + horizontalScrollBar()->value();
    const QList<int> xs = RowXs(row);
    const TSonRow &r = m_store.Rows().at(row);
    int index = 0;
    for (int i = 0; i < r.length; ++i) {
        if (m_store.Line(r.line).at(r.start + i).isLowSurrogate())
            continue;
        if (x >= (xs.at(i) + xs.at(i + 1) + 1) / 2)
            index = i + 1;
    }
    if (!r.endsLine && index >= r.length)
        index = r.length - 1;
    return {r.line, r.start + std::max(0, index)};
}

bool TSonEdit::InSelection(TSonPos pos) const
{
    const TSonPos from = std::min(m_anchor, m_caret);
    const TSonPos to = std::max(m_anchor, m_caret);
    return from <= pos && pos < to;
}

void TSonEdit::UpdateScrollBars()
{
    QScrollBar *v = verticalScrollBar();
    v->setRange(0, std::max(0, m_store.RowCount() - VisibleRows()));
    v->setPageStep(VisibleRows());
    v->setSingleStep(1);
    // Only rows seen so far are measured; wrapped rows keep the width bounded.
    int widest = 0;
    const int first = FirstVisibleRow();
    const int last = std::min(m_store.RowCount(), first + VisibleRows() + 1);
    for (int row = first; row < last; ++row)
        widest = std::max(widest, RowWidth(row));
    QScrollBar *h = horizontalScrollBar();
    const int textWidth = std::max(0, viewport()->width() - TextLeft());
    h->setRange(0, std::max(h->maximum() > 0 && !m_store.WordWrap() ? h->maximum() : 0,
                            widest + 2 * kCaretWidth - textWidth));
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
    m_store.SetWordWrap(on);
    m_store.SetWrapColumn(column);
    ReLayout();
}

void TSonEdit::SetTabWidth(int width)
{
    m_store.SetTabWidth(width);
    ReLayout();
}

void TSonEdit::ReLayout()
{
    const int scroll = verticalScrollBar()->value();
    RunStep([&] {
        try {
            m_store.Rewrap();
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
        if (key->key() == Qt::Key_Tab && m_look.acceptTabs && !(key->modifiers() & Qt::ControlModifier)) {
            keyPressEvent(key);
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

bool TSonEdit::Typable(const QString &text) const
{
    if (text.isEmpty())
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.isPrint() || c.isSurrogate();
    });
}

void TSonEdit::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool alt = event->modifiers() & (Qt::AltModifier | Qt::MetaModifier);
    const TSonPos from = std::min(m_anchor, m_caret);
    const TSonPos to = std::max(m_anchor, m_caret);
    bool handled = true;
    RunStep([&] {
        switch (event->key()) {
        case Qt::Key_Home:
            MoveCaret(ctrl ? TSonPos{} : m_store.RowStart(m_store.RowOf(m_caret)), shift);
            break;
        case Qt::Key_End:
            MoveCaret(ctrl ? m_store.End() : m_store.RowEnd(m_store.RowOf(m_caret)), shift);
            break;
        case Qt::Key_Left:
            if (HasSelection() && !shift && !ctrl)
                MoveCaret(from, false);
            else
                MoveCaret(ctrl ? m_store.WordLeft(m_caret) : m_store.Previous(m_caret), shift);
            break;
        case Qt::Key_Right:
            if (HasSelection() && !shift && !ctrl)
                MoveCaret(to, false);
            else
                MoveCaret(ctrl ? m_store.WordRight(m_caret) : m_store.Next(m_caret), shift);
            break;
        case Qt::Key_Up:
            MoveRows(-1, shift);
            break;
        case Qt::Key_Down:
            MoveRows(1, shift);
            break;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            const int rows = (event->key() == Qt::Key_PageUp ? -1 : 1) * std::max(1, VisibleRows() - 1);
            verticalScrollBar()->setValue(verticalScrollBar()->value() + rows);
            MoveRows(rows, shift);
            break;
        }
        case Qt::Key_Comma:
        case Qt::Key_Period:
            if (ctrl) {
                const int row = m_store.RowOf(m_caret);
                MoveCaret(event->key() == Qt::Key_Comma ? m_store.RowStart(row) : m_store.RowEnd(row), shift);
            } else {
                handled = false;
            }
            break;
        default:
            handled = false;
        }
    });
    if (!handled) {
        handled = true;
        switch (event->key()) {
        case Qt::Key_Backspace:
            if (ctrl)
                DeleteRange(m_store.WordLeft(m_caret), m_caret);
            else if (HasSelection())
                ReplaceSelection(QString());
            else
                DeleteRange(m_store.Previous(m_caret), m_caret);
            break;
        case Qt::Key_Delete:
            if (shift)
                CutToClipboard();
            else if (ctrl)
                DeleteRange(m_caret, m_store.WordRight(m_caret));
            else if (HasSelection())
                ReplaceSelection(QString());
            else
                DeleteRange(m_caret, m_store.Next(m_caret));
            break;
        case Qt::Key_Insert:
            if (ctrl) {
                CopyToClipboard();
            } else if (shift) {
                PasteFromClipboard();
            } else {
                m_overwrite = !m_overwrite;
                viewport()->update();
                Q_EMIT InsertModeChanged(m_overwrite);
            }
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ReplaceSelection(QStringLiteral("\n"));
            break;
        case Qt::Key_Tab:
            if (m_look.acceptTabs)
                ReplaceSelection(QStringLiteral("\t"));
            break;
        default:
            if (ctrl && !alt) {
                switch (event->key()) {
                case Qt::Key_C: CopyToClipboard(); break;
                case Qt::Key_V: PasteFromClipboard(); break;
                case Qt::Key_X: CutToClipboard(); break;
                case Qt::Key_A: SelectAll(); break;
                case Qt::Key_Z: Undo(); break;
                default: handled = false;
                }
            } else if (!ctrl && !alt && Typable(event->text())) {
                if (m_overwrite && !HasSelection() && m_caret.index < m_store.Line(m_caret.line).size())
                    m_anchor = m_store.Next(m_caret);
                ReplaceSelection(event->text());
            } else {
                handled = false;
            }
        }
    }
    if (handled)
        event->accept();
    else
        event->ignore();
    Q_EMIT KeyDown(event->key(), event->modifiers());
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
        return !m_look.readOnly;
    case Qt::ImCursorRectangle:
        return CaretRect().translated(viewport()->pos());
    case Qt::ImFont:
        return m_look.font;
    case Qt::ImCursorPosition:
        return m_caret.index;
    case Qt::ImAnchorPosition:
        return m_anchor.line == m_caret.line ? m_anchor.index : m_caret.index;
    case Qt::ImSurroundingText:
        return m_store.Line(m_caret.line);
    case Qt::ImCurrentSelection:
        return SelectedText();
    case Qt::ImHints:
        return static_cast<int>(Qt::ImhMultiLine);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void TSonEdit::paintEvent(QPaintEvent *)
{
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), m_look.backColor);
    p.setFont(m_look.font);
    const QFontMetrics fm(m_look.font);
    const int rh = RowHeight();
    const int left = TextLeft();
    const int hscroll = horizontalScrollBar()->value();
    const int first = FirstVisibleRow();
    const int last = std::min(m_store.RowCount(), first + VisibleRows() + 1);
    const QColor inverseFont = SonEditDraw::Inverse(m_look.fontColor);
    const QColor inverseMark = SonEditDraw::Inverse(m_look.markColor);

    if (m_look.showLineNumbers) {
        p.setPen(m_look.markColor);
        const int sep = left - m_look.leftMargin - 4;
        p.drawLine(sep, 0, sep, viewport()->height());
        for (int row = first; row < last; ++row) {
            const TSonRow &r = m_store.Rows().at(row);
            if (r.start != 0)
                continue;
            const int y = m_look.topMargin + (row - first) * rh;
            const QRect cell(0, y, left - m_look.leftMargin - 7, rh);
            p.drawText(cell, Qt::AlignRight | Qt::AlignVCenter, QString::number(r.line + 1));
        }
    }

    p.setClipRect(QRect(left, 0, viewport()->width() - left, viewport()->height()));
    for (int row = first; row < last; ++row) {
        const TSonRow &r = m_store.Rows().at(row);
        const QString &line = m_store.Line(r.line);
        const QList<int> xs = RowXs(row);
        const int y = m_look.topMargin + (row - first) * rh;
        for (int i = 0; i < r.length; ++i) {
            const QChar c = line.at(r.start + i);
            if (c.isLowSurrogate())
                continue;
            const QRect cell(left + xs.at(i) - hscroll, y, xs.at(i + 1) - xs.at(i), rh);
            const bool selected = InSelection({r.line, r.start + i});
            if (selected)
                p.fillRect(cell, m_look.selColor);
            if (c == QChar(0x3000)) {
                if (m_look.showFullSpaceMarks)
                    SonEditDraw::FullSpaceMark(p, cell, selected ? inverseMark : m_look.markColor);
                continue;
            }
            if (c == QLatin1Char('\t') || c.unicode() < ' ')
                continue;
            p.setPen(selected ? inverseFont : m_look.fontColor);
            p.drawText(cell.left(), y + fm.ascent(), CellText(line, r.start + i));
        }
        const int endX = left + xs.last() - hscroll;
        const bool lastLine = r.line == m_store.LineCount() - 1;
        if (r.endsLine && !lastLine) {
            const QRect cell(endX, y, fm.horizontalAdvance(QLatin1Char('W')), rh);
            const bool selected = InSelection({r.line, r.start + r.length});
            if (selected)
                p.fillRect(cell, m_look.selColor);
            if (m_look.showLineEndMarks)
                SonEditDraw::LineEndMark(p, cell, selected ? inverseMark : m_look.markColor);
        }
        if (r.endsLine && lastLine && m_look.showEofMark) {
            p.setPen(m_look.markColor);
            p.drawText(endX + 2, y + fm.ascent(), QStringLiteral("[EOF]"));
        }
    }

    if (!m_preedit.isEmpty()) {
        const QPoint at = PointOf(m_caret);
        const QRect box(at.x(), at.y(), fm.horizontalAdvance(m_preedit), rh);
        p.fillRect(box, m_look.backColor);
        p.setPen(m_look.fontColor);
        p.drawText(box.left(), box.top() + fm.ascent(), m_preedit);
        p.drawLine(box.left(), box.bottom() - 1, box.right(), box.bottom() - 1);
    }
    if (hasFocus() && m_caretOn && m_preedit.isEmpty()) {
        QRect caret = CaretRect();
        if (m_overwrite)
            caret.setTop(caret.top() + rh / 2);
        if (m_overwrite)
            caret.setWidth(std::max(kCaretWidth, fm.averageCharWidth()));
        p.fillRect(caret, m_look.fontColor);
    }
    if (m_dragging) {
        const QPoint at = PointOf(m_dropPos);
        p.fillRect(QRect(at.x(), at.y(), 1, rh), m_look.fontColor);
    }
}

void TSonEdit::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const TSonPos pos = PosAtPoint(event->position().toPoint());
    m_pressPoint = event->position().toPoint();
    if (HasSelection() && InSelection(pos) && !(event->modifiers() & Qt::ShiftModifier)) {
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
    if (m_dragging && !m_look.readOnly && !InSelection(pos)) {
        // Move the selection to where it was dropped as one replacement of
        // the stretch from the selection to the drop: one edit for the owner
        // and one record for undo.
        const TSonPos from = std::min(m_anchor, m_caret);
        const TSonPos to = std::max(m_anchor, m_caret);
        const QString moved = SelectedText();
        if (RunStep([&] {
                if (pos >= to) {
                    const QString passed = m_store.TextBetween(to, pos);
                    const TSonPos end = m_store.Replace(from, pos, passed + moved);
                    m_anchor = TSonStrings::EndOf(from, passed);
                    MoveCaret(end, true);
                } else {
                    const QString passed = m_store.TextBetween(pos, from);
                    m_store.Replace(pos, to, moved + passed);
                    m_anchor = pos;
                    MoveCaret(TSonStrings::EndOf(pos, moved), true);
                }
            }))
            Q_EMIT Change();
    } else if (m_dragArmed && !m_dragging) {
        RunStep([&] { MoveCaret(pos, false); });
    }
    m_selecting = m_dragArmed = m_dragging = false;
    viewport()->update();
}

void TSonEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const TSonPos pos = PosAtPoint(event->position().toPoint());
    RunStep([&] {
        const TSonPos end = m_store.WordRight(pos);
        TSonPos start = m_store.WordLeft(m_store.Next(pos));
        if (start > pos)
            start = pos;
        m_anchor = start.line == pos.line ? start : TSonPos{pos.line, 0};
        MoveCaret(end.line == pos.line ? end : TSonPos{pos.line, static_cast<int>(m_store.Line(pos.line).size())},
                  true);
    });
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
