// The filter grammar on its own: what parses, what is refused, how Like matches.
#include "DatasetError.h"
#include "FilterExpression.h"

#include <QtTest>

class TestFilter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parses_data();
    void parses();
    void refuses_data();
    void refuses();
    void like_data();
    void like();
    void quoteDoublesQuotes();
};

void TestFilter::parses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("owner") << "sUser='U'" << QStringList{"sUser"};
    QTest::newRow("date") << "plandate=2026/12/9" << QStringList{"plandate"};
    QTest::newRow("no blank after quote") << "sUser='U'and Enddate=2026/12/9" << QStringList{"sUser", "Enddate"};
    QTest::newRow("or chain") << "CreateDate=2026/12/1 or CreateDate=2026/12/2 or CreateDate=2026/12/3"
                              << QStringList{"CreateDate"};
    QTest::newRow("nested") << "((CreateDate=2026/12/1) and (sUser='U')) or ((CreateDate=2026/12/2) and (sUser='U'))"
                            << QStringList{"CreateDate", "sUser"};
    QTest::newRow("like") << "CustID Like '%t%'" << QStringList{"CustID"};
    QTest::newRow("double blank and") << "OperaterID='t' and  sUser='U'" << QStringList{"OperaterID", "sUser"};
    QTest::newRow("capital And") << "OperateID Like '%t%' And sUser='U'" << QStringList{"OperateID", "sUser"};
    QTest::newRow("LIKE upper") << "linkman LIKE '%王%'" << QStringList{"linkman"};
    QTest::newRow("quote inside") << "CustName='O''Brien''s'" << QStringList{"CustName"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("blanks only") << "   " << QStringList{};
}

void TestFilter::parses()
{
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    const FilterExpression e = FilterExpression::parse(text);
    QCOMPARE(e.fieldNames(), fields);
    QCOMPARE(e.isEmpty(), fields.isEmpty());
}

void TestFilter::refuses_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("open quote") << "sUser='U";
    QTest::newRow("missing value") << "sUser=";
    QTest::newRow("missing operator") << "sUser 'U'";
    QTest::newRow("dangling and") << "sUser='U' and";
    QTest::newRow("unbalanced paren") << "(sUser='U'";
    QTest::newRow("extra paren") << "sUser='U')";
    QTest::newRow("two values") << "sUser='U' 'V'";
    QTest::newRow("operator first") << "= 'U'";
    QTest::newRow("nesting deeper than any real filter") << QString(5000, u'(') + "a='1'" + QString(5000, u')');
    QTest::newRow("unknown operator") << "sUser >= 'U'";
}

void TestFilter::refuses()
{
    QFETCH(QString, text);
    QVERIFY_THROWS_EXCEPTION(DatasetError, FilterExpression::parse(text));
}

void TestFilter::like_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("matches");
    QTest::newRow("contains") << "C000123" << "%012%" << true;
    QTest::newRow("case") << "Wang Li" << "%wang%" << true;
    QTest::newRow("chinese") << "北京华信科技有限公司" << "%华信%" << true;
    QTest::newRow("prefix") << "HT0001" << "HT%" << true;
    QTest::newRow("prefix miss") << "XHT0001" << "HT%" << false;
    QTest::newRow("suffix") << "王宅" << "%宅" << true;
    QTest::newRow("underscore one char") << "A1B" << "A_B" << true;
    QTest::newRow("underscore needs a char") << "AB" << "A_B" << false;
    QTest::newRow("empty pattern") << "x" << "" << false;
    QTest::newRow("percent matches empty") << "" << "%%" << true;
    QTest::newRow("backtracking") << "aaab" << "%a%ab" << true;
    QTest::newRow("no wildcard exact") << "abc" << "ABC" << true;
}

void TestFilter::like()
{
    QFETCH(QString, value);
    QFETCH(QString, pattern);
    QFETCH(bool, matches);
    QCOMPARE(FilterExpression::likeMatch(value, pattern), matches);
}

void TestFilter::quoteDoublesQuotes()
{
    const QString typed = QStringLiteral("O'Brien's");
    const QString text = QStringLiteral("CustName='") + FilterExpression::quote(typed) + u'\'';
    QCOMPARE(text, QStringLiteral("CustName='O''Brien''s'"));
    QCOMPARE(FilterExpression::parse(text).fieldNames(), QStringList{"CustName"});
}

QTEST_GUILESS_MAIN(TestFilter)
#include "tst_filter.moc"
