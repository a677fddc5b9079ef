// The load job: its worker owns what it reads with, stopping it never waits for the worker,
// and the window's thread hears once how the load ended.

#include "textbox/TextLoadJob.h"
#include "platform/FileReader.h"
#include "platform/PosixFileServices.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QTest>
#include <QThread>

#include <condition_variable>
#include <mutex>

namespace {

// Where a gated read stands: the reader says it has begun, the test opens the gate.
struct Gate
{
    std::mutex mutex;
    std::condition_variable changed;
    bool reading = false;
    bool open = false;

    void letThrough()
    {
        const std::lock_guard lock(mutex);
        open = true;
        changed.notify_all();
    }
    bool waitUntilReading()
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [this] { return reading; });
    }
};

// Hands out its bytes seven at a time, once the gate opens.
class GatedReader : public FileReader
{
public:
    GatedReader(std::shared_ptr<Gate> gate, QByteArray bytes) : m_gate(std::move(gate)), m_bytes(std::move(bytes)) {}
    qint64 length(const QString &) override { return m_bytes.size(); }
    FileContents readFileInPieces(const QString &, qint64, const std::function<bool(QByteArrayView)> &consume) override
    {
        {
            std::unique_lock lock(m_gate->mutex);
            m_gate->reading = true;
            m_gate->changed.notify_all();
            m_gate->changed.wait(lock, [this] { return m_gate->open; });
        }
        for (qsizetype at = 0; at < m_bytes.size(); at += 7) {
            if (!consume(QByteArrayView(m_bytes).sliced(at, std::min<qsizetype>(7, m_bytes.size() - at))))
                break;
        }
        return {};
    }

private:
    std::shared_ptr<Gate> m_gate;
    QByteArray m_bytes;
};

constexpr TextLoadLimits roomy{1 << 20, 1000};

} // namespace

class TextLoadJobTest : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void theWorkerOwnsWhatItReadsWith();
    void aStoppedLoadTellsNobody();
    void utf16AtTheLineLimitLoadsFromOddPieces_data();
    void utf16AtTheLineLimitLoadsFromOddPieces();
    void theWindowsThreadHearsOnceHowItEnded_data();
    void theWindowsThreadHearsOnceHowItEnded();
};

void TextLoadJobTest::theWorkerOwnsWhatItReadsWith()
{
    const auto gate = std::make_shared<Gate>();
    auto reader = std::make_shared<GatedReader>(gate, "one\ntwo\n");
    const std::weak_ptr<GatedReader> readerLeft = reader;
    std::shared_ptr<TextLoadJob> job = TextLoadJob::start(std::move(reader), QStringLiteral("any"), roomy);
    const std::weak_ptr<TextLoadJob> jobLeft = job;
    QVERIFY(gate->waitUntilReading());

    // The window stops it and lets it go while the worker is stuck in its read: stop()
    // returned without waiting for it, and what the worker uses is still there.
    job->stop();
    QCOMPARE(job->outcome(), TextLoadOutcome::Running);
    job.reset();
    QVERIFY(!readerLeft.expired());
    QVERIFY(!jobLeft.expired());

    // The read goes on to its end; the worker then lets both go.
    gate->letThrough();
    QTRY_VERIFY(readerLeft.expired());
    QTRY_VERIFY(jobLeft.expired());
}

void TextLoadJobTest::aStoppedLoadTellsNobody()
{
    const auto gate = std::make_shared<Gate>();
    auto reader = std::make_shared<GatedReader>(gate, "text\n");
    const std::weak_ptr<GatedReader> readerLeft = reader;
    const std::shared_ptr<TextLoadJob> job = TextLoadJob::start(std::move(reader), QStringLiteral("any"), roomy);
    int told = 0;
    job->onDone([&told] { ++told; });
    QVERIFY(gate->waitUntilReading());
    job->stop();
    gate->letThrough();
    QTRY_VERIFY(readerLeft.expired());
    QCoreApplication::processEvents();
    QCOMPARE(told, 0);
    QCOMPARE(job->outcome(), TextLoadOutcome::Stopped);
    QVERIFY(!job->take());
}

void TextLoadJobTest::theWindowsThreadHearsOnceHowItEnded_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("maxBytes");
    QTest::addColumn<qint64>("maxLines");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("lines");
    const int loaded = int(TextLoadOutcome::Loaded);
    const int tooLarge = int(TextLoadOutcome::TooLarge);
    QTest::newRow("loaded") << QByteArray("a\r\nb\rc\nd") << 100ll << 4ll << true << loaded << 4;
    QTest::newRow("as many bytes as allowed") << QByteArray("abcd") << 4ll << 10ll << true << loaded << 1;
    QTest::newRow("a byte too many") << QByteArray("abcde") << 4ll << 10ll << true << tooLarge << 0;
    QTest::newRow("a line too many") << QByteArray("a\nb\nc\nd\ne") << 100ll << 4ll << true << tooLarge << 0;
    QTest::newRow("a CR at the end is a line end") << QByteArray("a\nb\nc\nd\r") << 100ll << 4ll << true << tooLarge << 0;
    QTest::newRow("missing") << QByteArray() << 100ll << 4ll << false << int(TextLoadOutcome::Unreadable) << 0;
}

void TextLoadJobTest::theWindowsThreadHearsOnceHowItEnded()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, maxBytes);
    QFETCH(qint64, maxLines);
    QFETCH(bool, exists);
    QFETCH(int, outcome);
    QFETCH(int, lines);
    TestDir dir;
    const QString path = exists ? dir.createFile(QStringLiteral("file.txt"), bytes) : dir.filePath(QStringLiteral("none"));
    PosixFileServices files;
    const std::shared_ptr<TextLoadJob> job = TextLoadJob::start(files.reader(), path, {maxBytes, maxLines});
    QList<QThread *> told;
    job->onDone([&told] { told << QThread::currentThread(); });
    QTRY_COMPARE(told.size(), 1);
    QCOMPARE(told.first(), QCoreApplication::instance()->thread());
    QCOMPARE(int(job->outcome()), outcome);
    std::optional<TextLines::Read> read = job->take();
    QCOMPARE(read.has_value(), outcome == int(TextLoadOutcome::Loaded));
    if (read) {
        QCOMPARE(read->lines.lineCount(), lines);
        QCOMPARE(job->percentRead(), 100);
    }
    QVERIFY(!job->take());
    QCoreApplication::processEvents();
    QCOMPARE(told.size(), 1);
}

void TextLoadJobTest::utf16AtTheLineLimitLoadsFromOddPieces_data()
{
    QTest::addColumn<bool>("bigEndian");
    QTest::newRow("little-endian") << false;
    QTest::newRow("big-endian") << true;
}

// Ten lines of UTF-16 ending in CR LF, read seven bytes at a time: a piece ends inside a unit,
// where the bytes of each CR LF alone (0D 00 0A 00) would count as two line ends.
void TextLoadJobTest::utf16AtTheLineLimitLoadsFromOddPieces()
{
    QFETCH(bool, bigEndian);
    QStringList lines;
    for (int i = 0; i < 10; ++i)
        lines << QStringLiteral("line %1").arg(i);
    const QString text = lines.join(QStringLiteral("\r\n"));
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const QChar unit : text) {
        const char high = char(unit.unicode() >> 8);
        const char low = char(unit.unicode() & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    for (const qint64 maxLines : {10, 9}) {
        auto gate = std::make_shared<Gate>();
        gate->letThrough();
        const std::shared_ptr<TextLoadJob> job =
            TextLoadJob::start(std::make_shared<GatedReader>(gate, bytes), QStringLiteral("file"), {1000, maxLines});
        QTRY_VERIFY(job->outcome() != TextLoadOutcome::Running);
        QCOMPARE(job->outcome(), maxLines == 10 ? TextLoadOutcome::Loaded : TextLoadOutcome::TooLarge);
        if (maxLines == 10) {
            const std::optional<TextLines::Read> read = job->take();
            QVERIFY(read);
            QCOMPARE(read->lines.text(), lines.join(QLatin1Char('\n')));
        }
    }
}

QTEST_GUILESS_MAIN(TextLoadJobTest)
#include "tst_textloadjob.moc"
