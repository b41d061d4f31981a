// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <functional>
#include <memory>

// Runs a long piece of work on a worker thread while the window goes on
// painting and playing; after a moment a progress dialog shows with Cancel.
// The work reports its share done (0 to 1) and watches the cancel flag.
class ProgressRun {
public:
  using Progress = std::function<void(double)>;

  template <typename Result>
  static Result Run(QWidget* window, const QString& label,
                    const std::function<Result(const Progress& progress, const std::atomic<bool>* cancel)>& work,
                    bool* cancelled = nullptr) {
    QProgressDialog dialog(label, QStringLiteral("Cancel"), 0, kSteps, window);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(kDelayMs);
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    QObject::connect(&dialog, &QProgressDialog::canceled, [cancel] { *cancel = true; });
    QPointer<QProgressDialog> shown(&dialog);
    // From the worker: only queued calls reach the dialog.
    const Progress progress = [shown](double done) {
      QMetaObject::invokeMethod(
          QCoreApplication::instance(),
          [shown, done] {
            if (shown)
              shown->setValue(int(done * kSteps));
          },
          Qt::QueuedConnection);
    };
    QFutureWatcher<Result> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcher<Result>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run([work, progress, cancel] { return work(progress, cancel.get()); }));
    loop.exec();
    if (cancelled)
      *cancelled = *cancel;
    return watcher.result();
  }

private:
  static constexpr int kSteps = 1000;
  // Work that ends sooner shows no dialog at all.
  static constexpr int kDelayMs = 500;
};
