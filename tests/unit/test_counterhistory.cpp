// The samples behind the counters graph: bounded per counter, cleared, exported as CSV.
#include "values/OvCounterHistory.h"
#include "values/OvCsv.h"

#include <QDateTime>
#include <gtest/gtest.h>

TEST(CounterHistory, KeepsTheNewestSamplesOfEachCounter) {
    OvCounterHistory h(2, 3);
    for (quint32 i = 1; i <= 5; ++i)
        h.Append(0, {i * 1000, i, 1, 1});
    h.Append(1, {1000, 9, 9, 9});
    h.Append(7, {1000, 9, 9, 9}); // no such counter: ignored
    ASSERT_EQ(h.Samples(0).size(), 3u);
    EXPECT_EQ(h.Samples(0).front().Value, 3u);
    EXPECT_EQ(h.Samples(0).back().Value, 5u);
    EXPECT_EQ(h.Samples(1).size(), 1u);
    h.Clear();
    EXPECT_TRUE(h.Samples(0).empty());
    EXPECT_TRUE(h.Samples(1).empty());
}

TEST(CounterHistory, CsvInTimeOrderWithQuotedNames) {
    OvCounterHistory h(2, 10);
    const qint64 t0 = QDateTime(QDate(2026, 12, 7), QTime(10, 0, 0)).toMSecsSinceEpoch();
    h.Append(1, {t0, 5, 2, 1});
    h.Append(0, {t0, 4294967295u, 10, 10});
    h.Append(0, {t0 + 1000, 9, 10, 10});
    EXPECT_EQ(h.ToCsv({QStringLiteral("plain"), QStringLiteral("with, comma \"quoted\"")}),
              QStringLiteral("time,counter,value,delta,rate\r\n"
                             "2026-12-07 10:00:00,plain,4294967295,10,10\r\n"
                             "2026-12-07 10:00:00,\"with, comma \"\"quoted\"\"\",5,2,1\r\n"
                             "2026-12-07 10:00:01,plain,9,10,10\r\n"));
}

TEST(Csv, FieldsQuotedOnlyWhereTheyMustBe) {
    EXPECT_EQ(OvCsvLine({"ifDescr", "", "eth0, uplink", "say \"hi\"", "two\nlines", "cr\rhere"}),
              "ifDescr,,\"eth0, uplink\",\"say \"\"hi\"\"\",\"two\nlines\",\"cr\rhere\"\r\n");
}
