// The application object the plug-in's suites need, made once before the tests run.

#include "LeakCheckSupport.h"

#include <QApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>

#include <gtest/gtest.h>

#include <memory>

namespace {

class PlotTestEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "plot-plugin-test";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);

        // One GL context loads the graphics driver, which is then kept for the whole run.
        QOffscreenSurface surface;
        surface.create();
        QOpenGLContext context;
        if (context.create() && context.makeCurrent(&surface))
        {
            KeepGraphicsDriversMapped();
            context.doneCurrent();
        }
    }

    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

const auto* const s_environment = ::testing::AddGlobalTestEnvironment(new PlotTestEnvironment);

}  // namespace
