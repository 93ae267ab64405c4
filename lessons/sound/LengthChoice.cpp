#include "LengthChoice.h"

#include "Image.h"
#include "PictureTable.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace {
const QString Hint = QStringLiteral("音の長さを３段階から選択してください");
}

TLengthChoice::TLengthChoice(QWidget *parent, const QString &titlePicture)
    : QWidget(parent)
    , m_titlePicture(titlePicture)
{
    setObjectName(QStringLiteral("RadioGroup1"));
    resize(216, 68);
    m_title = new TImage(this, QStringLiteral("LengthTitle"));
    m_title->setGeometry(0, 0, 216, 18);
    m_title->SetHint(Hint);
    m_title->SetStretch(true);
    m_group = new QButtonGroup(this);
    const QString texts[3] = {QStringLiteral("短い"), QStringLiteral("普通"), QStringLiteral("長い")};
    for (int i = 0; i < 3; ++i) {
        auto *option = new QRadioButton(texts[i], this);
        option->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        option->setGeometry(2 + 72 * i, 20, 70, 18);
        option->setStatusTip(Hint);
        option->setAccessibleDescription(Hint);
        m_group->addButton(option, i);
        m_options[static_cast<size_t>(i)] = option;

        auto *picture = new TImage(this, QStringLiteral("LengthPicture%1").arg(i + 1));
        picture->setGeometry(4 + 72 * i, 40, 64, 26);
        picture->SetHint(Hint);
        picture->SetStretch(true);
        connect(picture, &TImage::Click, this, [this, i] { SetLengthIndex(i); });
        m_pictures[static_cast<size_t>(i)] = picture;
    }
    m_options[0]->setChecked(true);
}

int TLengthChoice::LengthIndex() const
{
    return std::max(0, m_group->checkedId());
}

void TLengthChoice::SetLengthIndex(int index)
{
    m_options.at(static_cast<size_t>(index))->setChecked(true);
}

void TLengthChoice::LoadPictures(TPictureLoader &pictures)
{
    pictures.Load(m_title, m_titlePicture);
    pictures.Load(m_pictures[0], QStringLiteral("Picture\\PANEL\\short.jpg"));
    pictures.Load(m_pictures[1], QStringLiteral("Picture\\PANEL\\middle.jpg"));
    pictures.Load(m_pictures[2], QStringLiteral("Picture\\PANEL\\long.jpg"));
}
