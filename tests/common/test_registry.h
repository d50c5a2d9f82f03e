#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

// Several test classes in one executable per folder: each file registers its
// class, and the folder's one main() runs them all (tests/common/test_main.cpp).
namespace TestRegistry {

using Factory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<Factory>& All()
{
    static std::vector<Factory> factories;
    return factories;
}

struct Add
{
    explicit Add(Factory factory) { All().push_back(std::move(factory)); }
};

} // namespace TestRegistry

#define NELOCLOCK_TEST(Class) \
    static const TestRegistry::Add s_register##Class([] { return std::unique_ptr<QObject>(new Class); });
