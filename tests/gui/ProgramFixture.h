#pragma once

#include "program/TFApplication.h"
#include "support/ScriptedPrompts.h"

#include <QCoreApplication>
#include <QRect>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>

inline const QRect smallScreen{0, 0, 1024, 738};

// The whole program started in-process on a data folder of its own, with scripted prompts.
class Program {
public:
    explicit Program(const QString &root, const QStringList &arguments = {},
                     const QRect &workArea = smallScreen)
    {
        TFApplication::Options options;
        options.appDataRoot = root;
        options.programFolder = root;
        options.workArea = workArea;
        options.arguments = arguments;
        options.prompts = &prompts;
        app = std::make_unique<TFApplication>(options);
    }
    // Shows the background window; the start-up runs once events are processed.
    void start()
    {
        app->show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(app->isStarted());
    }

    Workspace &ws() { return app->workspace(); }
    TFGlowny &main() { return app->mainWindow(); }
    TFTloBig &background() { return app->background(); }

    ScriptedPrompts prompts;
    std::unique_ptr<TFApplication> app;
};

