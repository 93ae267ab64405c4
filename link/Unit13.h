#pragma once

#include <QWidget>

class TMainHost;

// The transfer progress window.
class TForm13 : public QWidget {
    Q_OBJECT
public:
    explicit TForm13(TMainHost &host, QWidget *parent = nullptr);

private:
    TMainHost &m_host;
};
