#pragma once

#include <QWidget>

// The progress window's bar: 100 segments one pixel apart on a teal ground,
// coloured by their number in five bands.
class TTransferProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit TTransferProgressBar(QWidget *parent = nullptr, const QString &objectName = QString());

    int Position() const { return m_position; }
    // Held to 0..100.
    void SetPosition(int position);

    static QColor SegmentColour(int segment);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_position = 0;
};
