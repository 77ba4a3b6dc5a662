#include "GridSelectionKeys.h"

#include <QTest>

namespace {

// Rows written as a picture: "x" marked, "." not, "*" or "X" the current row (marked or not).
class FakeGrid : public SelectableRows {
public:
    explicit FakeGrid(const QString& picture, int visible = 6)
        : m_visible(visible)
    {
        for (int i = 0; i < picture.size(); ++i) {
            const QChar c = picture.at(i);
            m_marks.append(c == QLatin1Char('x') || c == QLatin1Char('X'));
            if (c == QLatin1Char('*') || c == QLatin1Char('X'))
                m_current = i;
        }
    }
    QString picture() const
    {
        QString out;
        for (int i = 0; i < m_marks.size(); ++i)
            out += i == m_current ? (m_marks[i] ? QLatin1Char('X') : QLatin1Char('*'))
                                  : (m_marks[i] ? QLatin1Char('x') : QLatin1Char('.'));
        return out;
    }
    int moves = 0;

    int rowCount() const override { return int(m_marks.size()); }
    int currentRow() const override { return m_current; }
    void setCurrentRow(int row) override
    {
        m_current = row;
        ++moves;
    }
    bool isMarked(int row) const override { return m_marks.at(row); }
    void setMarked(int row, bool marked) override { m_marks[row] = marked; }
    int visibleRowCount() const override { return m_visible; }

private:
    QList<bool> m_marks;
    int m_current = -1;
    int m_visible;
};

} // namespace

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

class TestGridSelectionKeys : public QObject {
    Q_OBJECT
private slots:
    void keys_data();
    void keys();
    void invertTwice();
};

void TestGridSelectionKeys::keys_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("visible");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("keyAfter");

    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const Qt::KeyboardModifiers pad = Qt::KeypadModifier;

    QTest::newRow("ctrl+a marks all, stays")
        << "..*.." << 6 << ctrl << int(Qt::Key_A) << "xxXxx" << 0;
    QTest::newRow("pad plus marks all") << ".x*" << 6 << pad << int(Qt::Key_Plus) << "xxX" << 0;
    QTest::newRow("plain plus is the grid's")
        << "..*" << 6 << none << int(Qt::Key_Plus) << "..*" << int(Qt::Key_Plus);
    QTest::newRow("esc clears") << "xX.x" << 6 << none << int(Qt::Key_Escape) << ".*.." << 0;
    QTest::newRow("ctrl+q clears") << "xX" << 6 << ctrl << int(Qt::Key_Q) << ".*" << 0;
    QTest::newRow("pad minus clears") << "xX" << 6 << pad << int(Qt::Key_Minus) << ".*" << 0;
    QTest::newRow("ctrl+i inverts, first marked")
        << "x.*.x" << 6 << ctrl << int(Qt::Key_I) << ".Xxx." << 0;
    QTest::newRow("pad star inverts") << "xx*" << 6 << pad << int(Qt::Key_Asterisk) << "..X" << 0;
    QTest::newRow("ctrl+i all marked goes first")
        << "xxX" << 6 << ctrl << int(Qt::Key_I) << "*.." << 0;
    QTest::newRow("space flips, grid sees it")
        << ".*." << 6 << none << int(Qt::Key_Space) << ".X." << int(Qt::Key_Space);
    QTest::newRow("space unflips")
        << ".X." << 6 << none << int(Qt::Key_Space) << ".*." << int(Qt::Key_Space);
    QTest::newRow("shift+up") << "..*" << 6 << shift << int(Qt::Key_Up) << ".*x" << 0;
    QTest::newRow("shift+down") << "*.." << 6 << shift << int(Qt::Key_Down) << "x*." << 0;
    QTest::newRow("shift+down on last flips, stays")
        << "..*" << 6 << shift << int(Qt::Key_Down) << "..X" << 0;
    QTest::newRow("shift+up on first flips, stays")
        << "X.." << 6 << shift << int(Qt::Key_Up) << "*.." << 0;
    QTest::newRow("shift+pgdn half rounded up")
        << "*......." << 5 << shift << int(Qt::Key_PageDown) << "xxx*...." << 0;
    QTest::newRow("shift+pgdn stops at end")
        << "......*." << 5 << shift << int(Qt::Key_PageDown) << "......xX" << 0;
    QTest::newRow("shift+pgup") << ".......*" << 4 << shift << int(Qt::Key_PageUp) << ".....*xx"
                                << 0;
    QTest::newRow("shift+home flips to first")
        << "..x*." << 6 << shift << int(Qt::Key_Home) << "Xx.x." << 0;
    QTest::newRow("shift+end flips to last")
        << ".*..." << 6 << shift << int(Qt::Key_End) << ".xxxX" << 0;
    QTest::newRow("home") << "..*" << 6 << none << int(Qt::Key_Home) << "*.." << 0;
    QTest::newRow("end") << "*.x" << 6 << none << int(Qt::Key_End) << "..X" << 0;
    QTest::newRow("up") << ".*." << 6 << none << int(Qt::Key_Up) << "*.." << 0;
    QTest::newRow("up on first") << "*.." << 6 << none << int(Qt::Key_Up) << "*.." << 0;
    QTest::newRow("down") << ".*." << 6 << none << int(Qt::Key_Down) << "..*" << 0;
    QTest::newRow("pgdn by rows less one")
        << "*........" << 4 << none << int(Qt::Key_PageDown) << "...*....." << 0;
    QTest::newRow("pgdn clamps") << "*...." << 10 << none << int(Qt::Key_PageDown) << "....*" << 0;
    QTest::newRow("pgup") << "........*" << 4 << none << int(Qt::Key_PageUp) << ".....*..." << 0;
    QTest::newRow("ctrl+home is home") << "..*" << 6 << ctrl << int(Qt::Key_Home) << "*.." << 0;
    QTest::newRow("other keys pass")
        << ".*." << 6 << none << int(Qt::Key_Return) << ".*." << int(Qt::Key_Return);
    QTest::newRow("empty grid: ctrl+a") << "" << 6 << ctrl << int(Qt::Key_A) << "" << 0;
    QTest::newRow("empty grid: shift+down") << "" << 6 << shift << int(Qt::Key_Down) << "" << 0;
    QTest::newRow("empty grid: space")
        << "" << 6 << none << int(Qt::Key_Space) << "" << int(Qt::Key_Space);
}

void TestGridSelectionKeys::keys()
{
    QFETCH(QString, before);
    QFETCH(int, visible);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, key);
    QFETCH(QString, after);
    QFETCH(int, keyAfter);
    FakeGrid grid(before, visible);
    GridSelectionKeys(grid, modifiers, key);
    QCOMPARE(grid.picture(), after);
    QCOMPARE(key, keyAfter);
}

void TestGridSelectionKeys::invertTwice()
{
    // Five rows, the cursor on the third, nothing marked.
    FakeGrid grid(QStringLiteral("..*.."));
    int key = Qt::Key_I;
    GridSelectionKeys(grid, Qt::ControlModifier, key);
    QCOMPARE(grid.picture(), QStringLiteral("Xxxxx"));
    key = Qt::Key_I;
    GridSelectionKeys(grid, Qt::ControlModifier, key);
    QCOMPARE(grid.picture(), QStringLiteral("*...."));
}

QTEST_GUILESS_MAIN(TestGridSelectionKeys)
#include "tst_GridSelectionKeys.moc"
