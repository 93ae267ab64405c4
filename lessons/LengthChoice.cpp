#include "LengthChoice.h"

#include "Image.h"

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
    resize(240, 110);
    m_title = new TImage(this, QStringLiteral("LengthTitle"));
    m_title->setGeometry(0, 0, 240, 30);
    m_title->SetHint(Hint);
    m_title->SetStretch(true);
    m_group = new QButtonGroup(this);
    const QString texts[3] = {QStringLiteral("短い"), QStringLiteral("普通"), QStringLiteral("長い")};
    for (int i = 0; i < 3; ++i) {
        auto *option = new QRadioButton(texts[i], this);
        option->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        option->setGeometry(8 + 80 * i, 34, 72, 20);
        option->setStatusTip(Hint);
        m_group->addButton(option, i);
        m_options[static_cast<size_t>(i)] = option;

        auto *picture = new TImage(this, QStringLiteral("LengthPicture%1").arg(i + 1));
        picture->setGeometry(8 + 80 * i, 56, 72, 50);
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

void TLengthChoice::LoadPictures()
{
    m_title->LoadPicture(m_titlePicture);
    m_pictures[0]->LoadPicture(QStringLiteral("Picture\\PANEL\\short.jpg"));
    m_pictures[1]->LoadPicture(QStringLiteral("Picture\\PANEL\\middle.jpg"));
    m_pictures[2]->LoadPicture(QStringLiteral("Picture\\PANEL\\long.jpg"));
}
