// Test entry: the program's application object (offscreen in CTest) for the whole executable.
#include "invoice/line_entry.h"
#include "shell/kuvela_application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    kuvela::KuvelaApplication app(argc, argv, kuvela::invoice::tooLargeToComputeText());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
