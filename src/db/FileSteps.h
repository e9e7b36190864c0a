#pragma once

#include <QString>
#include <functional>

// The file steps of backup, restore and saved files: copy, rename over, remove and
// write. Each raises DbError (Kind::Other) with the system's reason when it fails;
// tests make a chosen step fail through the injector.
namespace FileSteps {

enum class Step { OnlineCopy, Copy, Rename, Remove, Write, Open };

// Returns a reason to make the step fail, or an empty text to let it run.
using Injector = std::function<QString(Step step, const QString &from, const QString &to)>;
void setInjector(Injector injector);  // an empty function: no failures

// Raises when the injector refuses the step (used by steps done elsewhere).
void check(Step step, const QString &from, const QString &to = {});

// Copies a file to a path where nothing exists yet.
void copy(const QString &from, const QString &to);
// Moves a file to `to`, replacing a file there in one step.
void rename(const QString &from, const QString &to);
// Removes a file; nothing when it is not there.
void remove(const QString &path);
// Writes `bytes` to a new file at `path` (nothing may exist there).
void write(const QString &path, const QByteArray &bytes);

// A free name beside `target` for a file made before it is renamed into place.
QString temporaryBeside(const QString &target);

}  // namespace FileSteps
