// Helpers for tests that read subtitle files: fixtures kept beside the tests
// and files written on the fly.
#pragma once

#include "subtitles/uQuennelUtils.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <ostream>

// A fixture from tests/subtitles/data.
QString SrtDataPath(const QString& name);

// Writes files into a folder that goes away with the object.
class TSrtScratch {
public:
  QString Write(const QByteArray& content, const QString& name = QStringLiteral("test.srt"));
  QString Folder() const { return FDir.path(); }

private:
  QTemporaryDir FDir;
};

// Loads a file into a fresh list.
TSrtLists LoadSrt(const QString& fileName);

bool operator==(const TSrtList& a, const TSrtList& b);
void PrintTo(const TSrtList& entry, std::ostream* os);
