// The system log window and the INI file it writes.
#include "DbGrid.h"
#include "FileSteps.h"
#include "IniFile.h"
#include "LogEntries.h"
#include "SeamRecorder.h"
#include "TestDb.h"
#include "uPublic.h"
#include "uSysLog.h"
#include "udmMain.h"

#include <QPushButton>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtTest>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QStringList linesOf(const QByteArray &bytes, const char *encoding = "UTF-8")
{
    QStringDecoder decode(encoding);
    QString text = decode(bytes);
    text.remove(u'\r');
    return text.split(u'\n', Qt::SkipEmptyParts);
}

}  // namespace

class TestSysLog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void savedFileHoldsEveryEntry();
    void savingTwiceKeepsClearedEntriesAndOtherSections();
    void clearingEmptiesTheLog();
    void cancelledSaveWritesNothing();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void iniUpdaterKeepsWhatItDoesNotSet();
    void iniInTheLocaleEncoding();

private:
    QString logFile() const { return m_dir->file(s("Log/log.ini")); }
    void save(TfrmSysLog &w, const QString &file);

    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<TdmMain> m_dm;
    std::unique_ptr<SeamRecorder> m_rec;
};

void TestSysLog::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}

void TestSysLog::init()
{
    m_rec = std::make_unique<SeamRecorder>();
    m_dir = std::make_unique<TestAppDir>();
    SetAppDir(m_dir->appDir());
    QDir().mkpath(m_dir->file(s("Log")));
    m_dm = std::make_unique<TdmMain>();
    QVERIFY(m_dm->connectDatabase(AppDir));
    CurrentUserID = s("Admin");
    WriteLog(s("2024/1/5 08:00:00"), s("客户业务管理-客户资料"));
    CurrentUserID = s("bob");
    WriteLog(s("2024/1/5 08:01:00"), s("工具-计算器"));
    CurrentUserID = s("Admin");
}

void TestSysLog::cleanup()
{
    FileSteps::setInjector({});
    m_dm.reset();
    m_dir.reset();
    m_rec.reset();
    CurrentUserID.clear();
}

void TestSysLog::save(TfrmSysLog &w, const QString &file)
{
    m_rec->files.enqueue(file);
    QTest::mouseClick(w.btnSave, Qt::LeftButton);
}

void TestSysLog::savedFileHoldsEveryEntry()
{
    TfrmSysLog w;
    w.show();
    QCOMPARE(w.grid()->model()->rowCount(), 2);
    save(w, logFile());
    QVERIFY(m_rec->messages.isEmpty());
    const QStringList lines = linesOf(m_dir->readFile(s("Log/log.ini")));
    QCOMPARE(lines, (QStringList{s("[LogFile]"), s("1=2024/1/5 08:00:00 Admin 客户业务管理-客户资料"),
                                 s("2=2024/1/5 08:01:00 bob 工具-计算器"),
                                 s("3=") + lines.value(3).mid(2)}));
    QVERIFY(lines.value(3).endsWith(s(" Admin 系统设置-系统日志-保存日志")));
}

void TestSysLog::savingTwiceKeepsClearedEntriesAndOtherSections()
{
    m_dir->writeFile(s("Log/log.ini"), "; kept comment\n[Other]\nname=value\n\n[LogFile]\n1=stale text\n");
    TfrmSysLog w;
    w.show();
    save(w, logFile());
    QTest::mouseClick(w.btnClear, Qt::LeftButton);
    QCOMPARE(dmMain->tblLog->recordCount(), 0);
    WriteLog(s("2024/1/6 09:00:00"), s("工具-日历"));
    save(w, logFile());
    const QStringList lines = linesOf(m_dir->readFile(s("Log/log.ini")));
    QCOMPARE(lines.mid(0, 3), (QStringList{s("; kept comment"), s("[Other]"), s("name=value")}));
    QCOMPARE(lines.count(s("[LogFile]")), 1);
    // 1-3 from the first save, 5 and 6 from the second, each key once; 4 (the clearing) went
    // before any save could see it. Numbers are never given out twice.
    for (int id = 1; id <= 6; ++id) {
        const QString key = QString::number(id) + u'=';
        int n = 0;
        for (const QString &l : lines)
            n += l.startsWith(key);
        QVERIFY2(n == (id == 4 ? 0 : 1), qPrintable(key));
    }
    QVERIFY(lines.contains(s("1=2024/1/5 08:00:00 Admin 客户业务管理-客户资料")));
    QVERIFY(lines.contains(s("5=2024/1/6 09:00:00 Admin 工具-日历")));
}

void TestSysLog::clearingEmptiesTheLog()
{
    TfrmSysLog w;
    w.show();
    QTest::mouseClick(w.btnClear, Qt::LeftButton);
    QVERIFY(m_rec->messages.isEmpty());  // no question
    QVERIFY(logEntries().isEmpty());     // not even the entry of the clearing
    QCOMPARE(w.grid()->model()->rowCount(), 0);
    WriteLog(s("工具-日历"));
    QCOMPARE(logEntries(), QStringList{s("工具-日历")});
}

void TestSysLog::cancelledSaveWritesNothing()
{
    TfrmSysLog w;
    w.show();
    save(w, QString());
    QVERIFY(!QFile::exists(logFile()));
    QCOMPARE(logEntries().last(), s("系统设置-系统日志-保存日志"));
}

void TestSysLog::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<int>("step");
    QTest::newRow("writing the new file") << int(FileSteps::Step::Write);
    QTest::newRow("renaming it into place") << int(FileSteps::Step::Rename);
}

void TestSysLog::failedWriteKeepsOldFile()
{
    QFETCH(int, step);
    m_dir->writeFile(s("Log/log.ini"), "[LogFile]\n1=old\n");
    FileSteps::setInjector([step](FileSteps::Step st, const QString &, const QString &) {
        return int(st) == step ? s("磁盘已满（测试）") : QString();
    });
    TfrmSysLog w;
    w.show();
    save(w, logFile());
    QCOMPARE(m_rec->messages.size(), 1);
    QVERIFY(m_rec->lastText().contains(s("磁盘已满（测试）")));
    QCOMPARE(m_dir->readFile(s("Log/log.ini")), QByteArray("[LogFile]\n1=old\n"));
    QCOMPARE(QDir(m_dir->file(s("Log"))).entryList(QDir::Files | QDir::Hidden), QStringList{s("log.ini")});
}

void TestSysLog::iniUpdaterKeepsWhatItDoesNotSet()
{
    const QByteArray before = "[A]\r\nx=1\r\n\r\n[LogFile]\r\nk=old\r\n\r\n[B]\r\ny=2\r\n";
    m_dir->writeFile(s("Log/t.ini"), before);
    IniFile ini(m_dir->file(s("Log/t.ini")), "UTF-8");
    ini.load();
    QCOMPARE(ini.value(s("logfile"), s("K")), s("old"));
    ini.setValue(s("LogFile"), s("k"), s("new"));
    ini.setValue(s("LogFile"), s("n"), s("added"));
    ini.setValue(s("C"), s("z"), s("3"));
    ini.save();
    QCOMPARE(m_dir->readFile(s("Log/t.ini")),
             QByteArray("[A]\r\nx=1\r\n\r\n[LogFile]\r\nk=new\r\nn=added\r\n\r\n[B]\r\ny=2\r\n[C]\r\nz=3\r\n"));
}

void TestSysLog::iniInTheLocaleEncoding()
{
    QCOMPARE(IniFile::localeEncoding(), QByteArray("UTF-8"));  // the tests run under zh_CN.UTF-8
    QStringEncoder gbk("GBK");
    QVERIFY(gbk.isValid());
    const QString path = m_dir->file(s("Log/gbk.ini"));
    m_dir->writeFile(s("Log/gbk.ini"), gbk(s("[旧节]\n键=值\n")));
    IniFile ini(path, "GBK");
    ini.load();
    QCOMPARE(ini.value(s("旧节"), s("键")), s("值"));
    ini.setValue(s("LogFile"), s("1"), s("系统设置-口令设置"));
    ini.save();
    QCOMPARE(linesOf(m_dir->readFile(s("Log/gbk.ini")), "GBK"),
             (QStringList{s("[旧节]"), s("键=值"), s("[LogFile]"), s("1=系统设置-口令设置")}));
}

QTEST_MAIN(TestSysLog)
#include "tst_syslog.moc"
