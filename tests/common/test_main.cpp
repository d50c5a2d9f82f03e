#include "test_registry.h"

#include <QApplication>
#include <QTest>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Each class makes its own objects, so one class's leftovers cannot
    // bend the next one's results.
    int failed = 0;
    for (const auto& make : TestRegistry::All()) {
        const std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
