#pragma once

#include <QWidget>

class TMainHost;

// The message window beside the network page.
class TForm16 : public QWidget {
    Q_OBJECT
public:
    explicit TForm16(TMainHost &host, QWidget *parent = nullptr);

private:
    TMainHost &m_host;
};
