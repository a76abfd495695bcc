#pragma once

#include <QObject>

#include <functional>
#include <memory>

// One test program per area runs every test class of that area. A class registers itself with
// PAGELARK_TEST(Class) in its own .cpp file; TestMain.cpp runs them in turn, each as QTest runs a
// single class, and fails when any of them failed.
namespace TestMain {

using Factory = std::function<std::unique_ptr<QObject>()>;
bool add(const char *name, Factory factory);

} // namespace TestMain

#define PAGELARK_TEST(Class)                                                                       \
    static const bool pagelark_registered_##Class =                                                \
        TestMain::add(#Class, [] { return std::unique_ptr<QObject>(new Class); })
