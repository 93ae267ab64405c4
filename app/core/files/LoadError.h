#pragma once

#include <QString>
#include <stdexcept>

// A file beside the program that could not be loaded.
class TLoadError : public std::runtime_error {
public:
    explicit TLoadError(const QString &what)
        : std::runtime_error(what.toStdString()) {}
};
