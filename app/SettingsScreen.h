#pragma once

#include "EditorSettings.h"
#include "PictureTable.h"

#include <QDialog>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TMainWindow;
class TImage;

// The settings screen: the lamp's port, the main window's background and the
// look of the STEP5 program editor. Only its OK writes "set.ini".
class TSettingsScreen : public QDialog {
    Q_OBJECT
public:
    explicit TSettingsScreen(TMainWindow &mainWindow);

    // The thumbnail chosen in this run ("bg1.jpg" until one is clicked).
    const QString &ChosenBackground() const { return m_backPicture; }
    const TEditorSettings &Sample() const { return m_sample; }
    int PortChoice() const;

    // Page indexes of the topic pages, in the order of the topic tree.
    enum Page { PagePort, PagePortName, PageEditor, PageSize, PageBackColor, PageFontColor, PageFontName,
                PageBackPicture, PageCount };

    // Cancel, from the button or Escape: nothing changes.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void CreateControls();
    void CreateTopicTree();
    void CreatePages();
    QWidget *CreatePortNamePage();
    QWidget *CreateSizePage();
    QWidget *CreateColorPage(const QString &intro, const QString &title, const QString &prefix, bool background);
    QWidget *CreateFontNamePage();
    QWidget *CreateBackPicturePage();
    // Reads the keys the screen shows; the print buffer takes the font too.
    void ReadSettings();
    void ShowSample();
    void ShowPortDevices();
    void ShowTopic(QTreeWidgetItem *item);
    void ChooseBackground(int number);
    void ShowChosenBackground();
    void TestLight();
    void SaveAndClose();
    void Cancel();
    QString PortName(int choice) const;

    TMainWindow &m_main;
    TPictureLoader m_pictures;
    TEditorSettings m_sample;
    QString m_backPicture = SettingsKeys::DefaultBackPicture;
    // The port name in use before the test button reopened the port, so that
    // cancel can put it back.
    QString m_portBeforeTest;

    TImage *m_background = nullptr;
    QTreeWidget *m_topicTree = nullptr;
    QStackedWidget *m_topicPages = nullptr;
    QGroupBox *m_sampleBox = nullptr;  // how the editor would look
    QLineEdit *m_sampleText = nullptr;
    TImage *m_okButton = nullptr;
    TImage *m_cancelButton = nullptr;
    std::array<QRadioButton *, 4> m_portButtons{};
    std::array<QLabel *, 4> m_portDevices{};
    QLabel *m_testStatus = nullptr;
    QSpinBox *m_fontSizeEdit = nullptr;
    QListWidget *m_fontNameList = nullptr;
    std::array<TImage *, 12> m_thumbnails{};
    TImage *m_chosenBackground = nullptr;
};
