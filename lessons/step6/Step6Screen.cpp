#include "Step6Screen.h"

#include "Image.h"
#include "KeyboardLayout.h"
#include "LengthChoice.h"
#include "MainHost.h"
#include "NoteCode.h"
#include "NoteNames.h"
#include "SoundPlayer.h"
#include "TransferRequest.h"

namespace {

// Control numbers of the keys, by key index.
constexpr int KeyImage[TStep6Screen::KeyCount] = {53, 62, 54, 63, 55, 56, 64, 57, 65, 58, 66, 59, 60};

constexpr QPoint KeyboardOrigin{184, 96};

constexpr const char *KeyHint =
    "鍵盤を押すとプログラムを転送、実行します（接続コードを本体のコネクタに接続して下さい）";

} // namespace

TStep6Screen::TStep6Screen(TMainHost &host, QWidget *parent)
    : TPageScreen(host, parent, QStringLiteral("TForm4"))
{
    m_player = new TSoundPlayer(this);
    CreateKeys();
    m_lengths = new TLengthChoice(this, QStringLiteral("Picture\\PANEL\\otononagasa.jpg"));
    m_lengths->move(240, 262);
    FormCreate();
    // Tab walks the keys from low to high, as they lie (they were made white first).
    for (int key = 1; key < KeyCount; ++key)
        setTabOrder(m_keys[static_cast<size_t>(key - 1)], m_keys[static_cast<size_t>(key)]);
}

void TStep6Screen::CreateKeys()
{
    // White keys first, so the black ones lie above them where they overlap.
    for (const bool black : {false, true}) {
        for (int key = 0; key < KeyCount; ++key) {
            if (KeyboardLayout::IsBlack(key) != black)
                continue;
            TImage *image = MakePicture(this, QStringLiteral("Image%1").arg(KeyImage[key]),
                                        KeyboardLayout::KeyRect(KeyboardOrigin, key), KeyHint, PictureLook::Stretched);
            connect(image, &TImage::Click, this, [this, key] { KeyPress(key); });
            image->setAccessibleName(NoteNames::Spoken(key));
            image->SetRole(QAccessible::Button);
            // The note name lies on the key, covers it whole and lets every
            // press and its picture through to it.
            TImage *name = MakePicture(image, QStringLiteral("Image%1Name").arg(KeyImage[key]), image->rect(), nullptr,
                                       PictureLook::Stretched);
            name->SetIgnoresMouse(true);
            m_keys[static_cast<size_t>(key)] = image;
            m_noteNames[static_cast<size_t>(key)] = name;
        }
    }
}

void TStep6Screen::FormCreate()
{
    const struct {
        const char *picture;
        QRect at;
    } decorations[] = {
        {"Picture\\SOUND\\1.jpg", QRect(24, 20, 120, 60)},   {"Picture\\SOUND\\1.jpg", QRect(576, 20, 120, 60)},
        {"Picture\\SOUND\\1.jpg", QRect(24, 350, 120, 60)},  {"Picture\\SOUND\\2.jpg", QRect(24, 110, 120, 110)},
        {"Picture\\SOUND\\2.jpg", QRect(576, 110, 120, 110)}, {"Picture\\SOUND\\3.jpg", QRect(24, 240, 120, 90)},
        {"Picture\\SOUND\\3.jpg", QRect(576, 240, 120, 90)},  {"Picture\\SOUND\\1.jpg", QRect(576, 350, 120, 60)},
    };
    int number = 1;
    for (const auto &decoration : decorations) {
        TImage *image = MakePicture(this, QStringLiteral("Decoration%1").arg(number++), decoration.at, nullptr,
                                    PictureLook::Stretched);
        image->SetIgnoresMouse(true);
        image->lower();
        Pictures().Load(image, QString::fromLatin1(decoration.picture));
    }
    for (int key = 0; key < KeyCount; ++key) {
        Pictures().Load(m_keys[static_cast<size_t>(key)], KeyboardLayout::IsBlack(key)
                                                              ? QStringLiteral("Picture\\SOUND\\black.bmp")
                                                              : QStringLiteral("Picture\\SOUND\\white.bmp"));
        TImage *name = m_noteNames[static_cast<size_t>(key)];
        Pictures().Try([name, key] { name->SetPicture(KeyboardLayout::NoteNamePixmap(key)); });
    }
    m_lengths->LoadPictures(Pictures());
    ReportMissingPictures();
    QList<int> codes;
    for (int length = 0; length < 3; ++length)
        for (int key = 0; key < KeyCount; ++key)
            codes.append(NoteCode::For(length, key));
    m_player->Preload(codes);
}

void TStep6Screen::KeyPress(int keyIndex)
{
    // A press that arrives while the previous note is still being played or
    // sent is dropped: its bytes must never fall between the mode byte and
    // the note of the press before.
    if (m_playing || Host().IsTransferring())
        return;
    m_noteCode = NoteCode::For(m_lengths->LengthIndex(), keyIndex);
    m_playing = true;
    m_player->PlayToEnd(m_noteCode);
    m_playing = false;
    Host().Transfer(TTransferRequest::DirectSound(m_noteCode));
}
