#include "support/TestMain.h"

#include <QApplication>
#include <QByteArray>
#include <QTest>

#include <utility>
#include <vector>

namespace {

std::vector<std::pair<QByteArray, TestMain::Factory>> &registry()
{
    static std::vector<std::pair<QByteArray, TestMain::Factory>> classes;
    return classes;
}

} // namespace

bool TestMain::add(const char *name, Factory factory)
{
    registry().emplace_back(name, std::move(factory));
    return true;
}

// Arguments after the program name go to every class; `-class NAME` runs that class alone. A
// program of the widget-free classes needs no display.
int main(int argc, char **argv)
{
#ifdef PAGELARK_CORE_TESTS
    QCoreApplication app(argc, argv);
#else
    QApplication app(argc, argv);
#endif
    QByteArray only;
    std::vector<char *> arguments(argv, argv + argc);
    for (size_t i = 1; i + 1 < arguments.size(); ++i) {
        if (qstrcmp(arguments[i], "-class") == 0) {
            only = arguments[i + 1];
            arguments.erase(arguments.begin() + qsizetype(i), arguments.begin() + qsizetype(i) + 2);
            break;
        }
    }
    int failures = 0;
    for (const auto &[name, factory] : registry()) {
        if (!only.isEmpty() && name != only)
            continue;
        const std::unique_ptr<QObject> tests = factory();
        failures += QTest::qExec(tests.get(), int(arguments.size()), arguments.data());
    }
    return failures == 0 ? 0 : 1;
}
