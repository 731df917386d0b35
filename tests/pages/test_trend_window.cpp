// The trend window draws the records it was given in the window chosen, breaks its lines at
// pauses, freezes when paused, reads out the values under the pointer, says the latest values
// by their column names and exports exactly the records shown.
#include <fstream>
#include <sstream>

#include <QTemporaryDir>
#include <gmock/gmock.h>

#include "PageTestSupport.h"
#include "core/reports/TrendCsv.h"
#include "pages/TrendWindow.h"

namespace orvane::test {
namespace {

// Live records from `first` to `last` up time, fan 1 at 1000 + up time, after a cut one.
std::string Records(long first, long last) {
    std::string text = "1s,\r\n";
    for (long up = first; up <= last; ++up) {
        text += " " + std::to_string(1000 + up) +
                ", 55, 1480, 55, 1480, 55,    0,  0, 25.4, 26.0, HI , LO ,0," + std::to_string(up) +
                "s,\r\n";
    }
    return text;
}

class TrendView : public testing::Test {
protected:
    void SetUp() override {
        m_image.LoadDefaultTemplate();
        m_window.show();
        QApplication::processEvents();
    }
    // Records taken at one a second from `first` on, the last stamped at `nowMs`.
    void Feed(long first, long last) {
        m_window.OnMainTick(Records(first, last), kStart + last * 1000);
        m_window.Refresh();
    }
    QList<QPolygonF> Pieces(int channel) {
        return m_window.ChartOf(channel)->LinePieces(m_window.LineOf(channel));
    }
    std::string Description() { return m_window.accessibleDescription().toStdString(); }

    static constexpr std::int64_t kStart = 1'700'000'000'000;
    RegisterImage m_image;
    ScriptedPrompter m_prompter;
    trend::TrendHistory m_history{1000};
    TrendWindow m_window{m_history, m_image, m_prompter};
};

TEST_F(TrendView, DrawsTheWindowChosenBreakingAtPausesAndSaysTheLatestValues) {
    Feed(1, 100);
    Feed(150, 200); // 49 s without records
    EXPECT_EQ(m_window.windowTitle(), "Trend");
    EXPECT_EQ(m_window.ShownTo() - m_window.ShownFrom(), 600'000) << "10 min at first";
    EXPECT_EQ(Pieces(0).size(), 2) << "a break where the records paused";
    EXPECT_EQ(Pieces(0).back().back(), QPointF(double(kStart + 200'000), 1200));
    EXPECT_EQ(Description(), "RPM1 1200, PWM1 55, RPM2 1480, PWM2 55, RPM3 1480, PWM3 55, "
                             "RPM4 0, PWM4 0, NTC1 25.4, NTC2 26.0, INP1 HI, INP2 LO, ALARMS 0");

    Choose(m_window.WindowList(), "1 min");
    EXPECT_EQ(m_window.ShownFrom(), kStart + 140'000);
    EXPECT_EQ(Pieces(0).size(), 1);

    QTest::mouseClick(m_window.SeriesBox(0), Qt::LeftButton);
    EXPECT_FALSE(m_window.ChartOf(0)->IsLineVisible(m_window.LineOf(0)));
    EXPECT_EQ(Description().substr(0, 8), "PWM1 55,") << "a hidden series is not read out";

    QTest::mouseClick(m_window.PauseButton(), Qt::LeftButton);
    Feed(201, 230);
    EXPECT_EQ(m_window.ShownTo(), kStart + 200'000) << "paused: the view stands still";
    EXPECT_EQ(m_window.History().Records().Size(), 100u + 51u + 30u)
        << "while the records keep coming";
    QTest::mouseClick(m_window.PauseButton(), Qt::LeftButton);
    EXPECT_EQ(m_window.ShownTo(), kStart + 230'000);

    Choose(m_window.WindowList(), "1 h"); // 4.8 s a pixel column at this width
    const std::int64_t drawnTo = m_window.ShownTo();
    Feed(231, 232);
    EXPECT_EQ(m_window.ShownTo(), drawnTo) << "drawn again once a column, not once a record";
    Feed(233, 240);
    EXPECT_EQ(m_window.ShownTo(), kStart + 240'000);

    TrendChart* chart = m_window.ValuesChart();
    QTest::mouseMove(chart->viewport(), QPoint(chart->width() - 131, chart->height() / 2));
    EXPECT_THAT(m_window.PointerReadout()->text().toStdString(),
                testing::MatchesRegex(".*PWM1 55  RPM2 1480 .*ALARMS 0"));
    ExpectReadable(&m_window);
}

TEST_F(TrendView, ExportsTheRecordsShownAsTheCommandLineWouldAndThePicture) {
    Feed(1, 200);
    Choose(m_window.WindowList(), "1 min");
    QTemporaryDir dir;
    m_prompter.savePath = dir.filePath("trend.csv").toStdString();
    QTest::mouseClick(m_window.ExportCsvButton(), Qt::LeftButton);
    std::ifstream csv(*m_prompter.savePath, std::ios::binary);
    std::stringstream written;
    written << csv.rdbuf();
    const std::string text = written.str();
    EXPECT_EQ(text, TrendCsv(m_window.History().Records(), kStart + 140'000, kStart + 200'000));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 61);

    m_prompter.savePath = dir.filePath("trend.png").toStdString();
    QTest::mouseClick(m_window.ExportPngButton(), Qt::LeftButton);
    EXPECT_FALSE(QImage(dir.filePath("trend.png")).isNull());
    EXPECT_EQ(m_prompter.saveRequests.at(1).defaultExtension, "png");
    m_prompter.savePath = dir.filePath("no/such/folder.csv").toStdString();
    QTest::mouseClick(m_window.ExportCsvButton(), Qt::LeftButton);
    EXPECT_EQ(m_prompter.asked.size(), 1u) << "a file that cannot be written is reported";
}

} // namespace
} // namespace orvane::test
