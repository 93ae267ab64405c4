#pragma once

#include <QWidget>
#include <array>

class QButtonGroup;
class QRadioButton;
class TImage;
class TPictureLoader;

// The choice of a note's length: three options "短い", "普通", "長い", each
// with a picture that selects it when pressed, under a title picture.
class TLengthChoice : public QWidget {
    Q_OBJECT
public:
    // `titlePicture` differs between the two keyboards.
    TLengthChoice(QWidget *parent, const QString &titlePicture);

    int LengthIndex() const;
    void SetLengthIndex(int index);
    void LoadPictures(TPictureLoader &pictures);

private:
    QString m_titlePicture;
    QButtonGroup *m_group = nullptr;
    TImage *m_title = nullptr;
    std::array<QRadioButton *, 3> m_options{};
    std::array<TImage *, 3> m_pictures{};
};
