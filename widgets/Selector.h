#pragma once

#include <QColor>
#include <QRect>
#include <QStringList>
#include <QVector>
#include <QWidget>

// The value picker under a program slot: one item of a list of texts between
// two arrow buttons; each click on an arrow steps one item, wrapping round.
// In smMulti mode all items are shown side by side and clicking one selects it.
//
// Usage:
//   auto *sel = new TSelector(this);             // 120 x 24, no items, index -1
//   sel->setObjectName("Selector1");
//   sel->SetValues({"１秒", "２秒"});             // index back to -1
//   sel->SetArrowColor(QColor(128, 0, 128));
//   connect(sel, &TSelector::Click, this, ...);   // after every step
//   int i = sel->ItemIndex();                     // -1 = nothing chosen
// The hint goes into statusTip (the main window shows it in its hint area).
// With the focus, the arrow keys step as the arrow buttons do (left and up
// back, right and down on), and a ring shows the focus.
class TSelector : public QWidget {
    Q_OBJECT
public:
    enum TSelectorOrientation { soHorizontal, soVertical };
    enum TSelectMode { smMulti, smSingle };
    Q_ENUM(TSelectorOrientation)
    Q_ENUM(TSelectMode)

    explicit TSelector(QWidget *parent = nullptr);

    QColor ArrowColor() const { return m_arrowColor; }
    QColor BtnColor() const { return m_btnColor; }
    int BtnSize() const { return m_btnSize; }
    QColor CursorColor() const { return m_cursorColor; }
    TSelectorOrientation Orientation() const { return m_orientation; }
    TSelectMode SelectMode() const { return m_selectMode; }
    const QStringList &Values() const { return m_values; }
    int ItemIndex() const { return m_itemIndex; }
    // The selected text, or empty with nothing selected.
    QString SelectedText() const;

    void SetArrowColor(const QColor &c);
    void SetBtnColor(const QColor &c);
    void SetBtnSize(int size);
    void SetCursorColor(const QColor &c);
    void SetOrientation(TSelectorOrientation o);
    void SetSelectMode(TSelectMode m);
    // Copies the items and clears the selection.
    void SetValues(const QStringList &values);
    // Items added or removed one at a time keep the selection; a selection
    // that no longer exists becomes -1.
    void AddValue(const QString &value);
    void RemoveValue(int index);
    void ClearValues();
    // Below -1 or beyond the last item: ignored, the old index stays.
    void SetItemIndex(int index);
    // As a pupil's step: selects `index` (ignored as above) and clicks.
    void StepTo(int index);

    // Which arrow is held: 0 none, 1 first (left/top), 2 second (right/bottom).
    int PressedArrow() const { return m_pressedArrow; }

    // The area of each item in smMulti mode, as painted.
    QVector<QRect> ItemRects() const;

Q_SIGNALS:
    void Click();
    void DblClick();
    void MouseDown(Qt::MouseButton button, QPoint pos);
    void MouseMove(Qt::MouseButtons buttons, QPoint pos);
    void MouseUp(Qt::MouseButton button, QPoint pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void DoClick();
    void ReportValueChange();
    int Length() const;
    QRect ButtonRect(int which) const;
    void PaintButton(class QPainter &p, int which) const;
    void PaintArrow(class QPainter &p, int which) const;
    void PaintText(class QPainter &p, const QRect &box, const QString &text, int flags) const;

    QColor m_arrowColor;
    QColor m_btnColor;
    int m_btnSize = 12;
    QColor m_cursorColor;
    TSelectorOrientation m_orientation = soHorizontal;
    TSelectMode m_selectMode = smSingle;
    QStringList m_values;
    int m_itemIndex = -1;
    int m_pressedArrow = 0;
    bool m_arrowHit = false;
    bool m_leftDown = false;
};
