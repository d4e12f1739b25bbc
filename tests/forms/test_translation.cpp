// Qt's own texts in Traditional Chinese: the translation is taken from the folder the course
// names (its translations/ on Windows, in the browser its own), else from Qt's own folder, and
// where neither has a readable one Qt's texts stay English and nothing fails.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <memory>

#include "forms/translation.h"
#include "tests/support/main.h"

namespace {

const QString kFile = QStringLiteral("qtbase_zh_TW.qm");

// A message box's OK, as Qt names it.
QString Ok() { return QCoreApplication::translate("QPlatformTheme", "OK"); }

// Where this test finds a translation to copy: the course folder's (the Windows build), else Qt's.
QString Source() {
  for (const QString& in : {qEnvironmentVariable("LUMORA_BIN") + QStringLiteral("/translations"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)})
    if (QFile::exists(QDir(in).filePath(kFile))) return QDir(in).filePath(kFile);
  return {};
}

}  // namespace

class TranslationTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    if (Source().isEmpty()) QSKIP("no qtbase_zh_TW.qm here (qt6-translations-l10n)");
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
  }
  // Each case starts with Qt's texts in English: a translator removes itself when deleted.
  void cleanup() {
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) delete t;
    QCOMPARE(Ok(), QStringLiteral("OK"));
  }

  void fromTheFolderNamed() {
    QVERIFY(QFile::copy(Source(), folder_->filePath(kFile)));
    QCOMPARE(forms::InstallQtTranslation(folder_->path()), folder_->filePath(kFile));
    QCOMPARE(Ok(), QStringLiteral("確定"));
  }

  // A folder without it, or with a damaged one: Qt's own folder, or English where that has none.
  void elseFromQtsOwnFolder_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("damaged") << QByteArray("not a translation");
  }
  void elseFromQtsOwnFolder() {
    QFETCH(QByteArray, contents);
    if (!contents.isNull()) {
      QFile damaged(folder_->filePath(kFile));
      QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write(contents) == contents.size());
    }
    const QString own = QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).filePath(kFile);
    const QString installed = forms::InstallQtTranslation(folder_->path());
    if (QFile::exists(own)) {
      QCOMPARE(installed, own);
      QCOMPARE(Ok(), QStringLiteral("確定"));
    } else {
      QCOMPARE(installed, QString());
      QCOMPARE(Ok(), QStringLiteral("OK"));
    }
  }

 private:
  std::unique_ptr<QTemporaryDir> folder_;  // the folder the course names, fresh for each case
};

LUMORA_TEST_MAIN(TranslationTest)
#include "test_translation.moc"
