#include "MainHost.h"

void TMainHost::OpenOver(Page shown, Page returnTo)
{
    for (const OverLesson &over : OverLessonPages) {
        if (over.shown == shown && over.returnTo == returnTo) {
            // Set before showing: the page reads it in its shown handler.
            PageCode = over.code;
            ShowPage(shown);
            SetStepButtonsEnabled(false, false);
            return;
        }
    }
}

int TMainHost::ReturnPage() const
{
    for (const OverLesson &over : OverLessonPages) {
        if (over.code == PageCode)
            return over.returnTo;
    }
    return -1;
}

void TMainHost::ReturnToLesson()
{
    const int lesson = ReturnPage();
    if (lesson >= 0) {
        ShowPage(lesson);
        PageCode = lesson;
    }
    SetStepButtonsEnabled(true, true);
}
