#include "PreviewPlayer.h"

#include <QTest>

namespace {

// What the pupil sees after one tick (or after play), and for how long.
struct Seen {
    QString picture; // the visible picture, "Base" for the unlit fade area, "<picture>@<opacity>" for a blend
    int interval;
    int number;
    int total;
    bool operator==(const Seen &) const = default;
};

QString Visible(const TPreviewPlayer &p)
{
    if (p.PictureVisible())
        return p.Picture().section(u'\\', -1);
    if (p.FadeVisible()) {
        if (p.FadePicture().isEmpty())
            return QStringLiteral("Base");
        return QStringLiteral("%1@%2").arg(p.FadePicture().section(u'\\', -1)).arg(p.FadeOpacity());
    }
    return QString();
}

Seen Now(const TPreviewPlayer &p)
{
    return {Visible(p), p.Interval(), p.CurrentNumber(), p.Total()};
}

// Plays to the end; every state the screen shows while playing, in order.
QList<Seen> PlayAll(TPreviewPlayer &p, const QStringList &steps, int maxTicks = 10000)
{
    QList<Seen> seen;
    if (!p.Play(steps))
        return seen;
    seen << Now(p);
    for (int i = 0; i < maxTicks; ++i) {
        p.Tick();
        if (!p.IsPlaying())
            return seen;
        seen << Now(p);
    }
    qWarning("the play did not end");
    return {};
}

// Consecutive states with the same picture merged: (picture, milliseconds shown).
QList<QPair<QString, int>> Durations(const QList<Seen> &seen)
{
    QList<QPair<QString, int>> out;
    for (const Seen &s : seen) {
        if (!out.isEmpty() && out.last().first == s.picture)
            out.last().second += s.interval;
        else
            out.append({s.picture, s.interval});
    }
    return out;
}

QList<int> Opacities(const QList<Seen> &seen, const QString &picture)
{
    QList<int> out;
    for (const Seen &s : seen) {
        if (s.picture.startsWith(picture + u'@')) {
            const int o = s.picture.section(u'@', 1).toInt();
            if (out.isEmpty() || out.last() != o)
                out << o;
        }
    }
    return out;
}

} // namespace

class TestPreviewPlayer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void timedStepsShowForTheirOwnTime()
    {
        TPreviewPlayer p;
        const QList<Seen> seen = PlayAll(p, {QStringLiteral("160")});
        const QList<Seen> expected{{"start.bmp", 1500, 0, 1}, {"160.bmp", 500, 1, 1}};
        QCOMPARE(seen, expected);
        QVERIFY(!p.IsPlaying());
        QVERIFY(!p.PictureVisible());
        QVERIFY(!p.FadeVisible());
        QCOMPARE(p.Total(), 0);

        using D = QList<QPair<QString, int>>;
        QCOMPARE(Durations(PlayAll(p, {"173", "169"})), (D{{"start.bmp", 1500}, {"168.bmp", 5000 + 1000}}));
        // every colour and off, whole seconds 1 to 5
        QCOMPARE(Durations(PlayAll(p, {"186", "195", "204", "213", "221", "217"})),
                 (D{{"start.bmp", 1500}, {"184.bmp", 2000}, {"192.bmp", 3000}, {"200.bmp", 4000},
                    {"208.bmp", 5000}, {"216.bmp", 5000 + 1000}}));
    }

    void unrolledRepeatCountsEveryStep()
    {
        TPreviewPlayer p;
        const QList<Seen> seen = PlayAll(p, {"177", "177", "177"});
        QCOMPARE(seen.size(), 4);
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(seen[i], (Seen{"176.bmp", 1000, i, 3}));
    }

    void waitShowsItsTwoPictures()
    {
        TPreviewPlayer p;
        using D = QList<QPair<QString, int>>;
        QCOMPARE(Durations(PlayAll(p, {"96", "177"})),
                 (D{{"start.bmp", 1500}, {"96.bmp", 1500}, {"96-1.bmp", 3000}, {"176.bmp", 1000}}));
        // the counter names the wait from its first picture on
        const QList<Seen> seen = PlayAll(p, {"96", "177"});
        QCOMPARE(seen[1].number, 1);
        QCOMPARE(seen[2].number, 1);
        QCOMPARE(seen[4].number, 2);
    }

    void fadesBlendFiftyAndFortyNineTimes()
    {
        QList<int> up;
        for (int o = 10; o <= 255; o += 5)
            up << o;
        QList<int> down;
        for (int o = 245; o >= 5; o -= 5)
            down << o;
        QCOMPARE(up.size(), 50);
        QCOMPARE(down.size(), 49);

        TPreviewPlayer p;
        QList<Seen> seen = PlayAll(p, {"166"});
        QCOMPARE(Opacities(seen, "160.bmp"), up);
        // set-up tick shows the unlit lamp, one tick per blend, one closing tick holding the last blend
        QCOMPARE(seen.size(), 1 + 1 + 50 + 1);
        QCOMPARE(seen[1], (Seen{"Base", 80, 1, 1}));
        QCOMPARE(seen.last(), (Seen{"160.bmp@255", 80, 1, 1}));

        seen = PlayAll(p, {"215"});
        QCOMPARE(Opacities(seen, "208.bmp"), down);
        // the start picture holds one more tick before the set-up
        QCOMPARE(seen.size(), 1 + 1 + 1 + 49 + 1);
        QCOMPARE(seen[1], (Seen{"start.bmp", 1500, 0, 1}));
        QCOMPARE(seen[2], (Seen{"Base", 80, 1, 1}));
        QCOMPARE(seen.last(), (Seen{"208.bmp@5", 80, 1, 1}));

        // every fade colour blends its own picture
        for (int c = 0; c < 7; ++c) {
            const QString pic = QStringLiteral("%1.bmp").arg(160 + 8 * c);
            QCOMPARE(Opacities(PlayAll(p, {QString::number(166 + 8 * c)}), pic).size(), 50);
            QCOMPARE(Opacities(PlayAll(p, {QString::number(167 + 8 * c)}), pic).size(), 49);
        }
    }

    void stepsAfterFades()
    {
        TPreviewPlayer p;
        using D = QList<QPair<QString, int>>;
        // before a fade out the step before it stays one more tick at its own interval
        QCOMPARE(Durations(PlayAll(p, {"165", "175"})).mid(0, 3),
                 (D{{"start.bmp", 1500}, {"160.bmp", 5000 + 5000}, {"Base", 80}}));
        QCOMPARE(Durations(PlayAll(p, {"161", "207"})).mid(0, 3),
                 (D{{"start.bmp", 1500}, {"160.bmp", 1000 + 1000}, {"Base", 80}}));

        // a wait after a fade leaves the faded colour in view until its last phase
        QList<Seen> seen = PlayAll(p, {"182", "96", "160"});
        const int fadeEnd = 1 + 1 + 50 + 1;
        QCOMPARE(seen[fadeEnd - 1], (Seen{"176.bmp@255", 80, 1, 3}));
        QCOMPARE(seen[fadeEnd], (Seen{"176.bmp@255", 1500, 2, 3}));
        QCOMPARE(seen[fadeEnd + 1], (Seen{"176.bmp@255", 1500, 2, 3}));
        QCOMPARE(seen[fadeEnd + 2], (Seen{"96-1.bmp", 1500, 2, 3}));
        QCOMPARE(seen[fadeEnd + 3], (Seen{"160.bmp", 500, 3, 3}));
        const D shown = Durations(seen);
        QCOMPARE(shown.mid(shown.size() - 3), (D{{"176.bmp@255", 80 + 80 + 1500 + 1500}, {"96-1.bmp", 1500}, {"160.bmp", 500}}));

        // a timed step after a fade shows its picture over the reset fade area
        seen = PlayAll(p, {"167", "177"});
        QCOMPARE(seen.last(), (Seen{"176.bmp", 1000, 2, 2}));
    }

    void stopMidFadeThenPlayStartsClean()
    {
        const QStringList program{"174", "161", "199"};
        TPreviewPlayer fresh;
        const QList<Seen> reference = PlayAll(fresh, program);

        TPreviewPlayer p;
        QVERIFY(p.Play(program));
        for (int i = 0; i < 20; ++i)
            p.Tick();
        QCOMPARE(p.FadeOpacity(), 100); // set-up, then 10, 15, ... 100
        QVERIFY(!p.FadePicture().isEmpty());
        p.Stop();
        QVERIFY(!p.IsPlaying());
        QVERIFY(!p.PictureVisible());
        QVERIFY(!p.FadeVisible());
        p.Tick(); // a tick that was already queued changes nothing
        QVERIFY(!p.IsPlaying());
        QVERIFY(!p.PictureVisible());

        QCOMPARE(PlayAll(p, program), reference);
        QVERIFY(p.Play(program));
        QVERIFY(p.FadePicture().isEmpty());
        QCOMPARE(Now(p), (Seen{"start.bmp", 1500, 0, 3}));
    }

    void onlyPlayableEntriesAreTaken()
    {
        TPreviewPlayer p;
        QVERIFY(!p.Play({}));
        QVERIFY(!p.IsPlaying());
        QVERIFY(!p.Play({"", " "}));
        QVERIFY(!p.Play({"223", "63", "abc", "-160", "222", "9999"}));
        QVERIFY(!p.IsPlaying());

        const QList<Seen> seen = PlayAll(p, {"", "223", " 160 ", "x", "96", "221"});
        QCOMPARE(seen.first().total, 3);
        QCOMPARE(seen.last(), (Seen{"216.bmp", 5000, 3, 3}));
        QCOMPARE(TPreviewPlayer::PlayableSteps({"160", "", "222", "96", "95", "221"}), (QList<int>{160, 96, 221}));
    }
};

QTEST_GUILESS_MAIN(TestPreviewPlayer)
#include "test_preview_player.moc"
