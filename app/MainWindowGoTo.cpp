#include "MainWindow.h"

#include "Image.h"

void TMainWindow::GoToStep(int page)
{
    if (page < PageStep1 || page > PageStep10 || PageCode < PageStep1 || PageCode > PageStep10 || page == PageCode)
        return;
    PageCode = page;
    ShowPage(PageCode);
    LoadTitle(PageCode);
    m_previousStepButton->setEnabled(PageCode != PageStep1);
    m_nextStepButton->setEnabled(PageCode != PageStep10);
    ForgetPreparedTransfer();
}
