#pragma once

#include "endpoint/host_look_up.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

// Host look-ups that never reach the name service, which is not on this machine.
namespace zav::testing {

// "localhost" and the names under it are 127.0.0.1; "this-network" is found in 0.0.0.0/8; no
// other name is known.
inline LookUpResult lookUpLoopbackOnly(const std::string &hostName)
{
    const std::string under = ".localhost";
    if (hostName == "localhost" ||
        (hostName.size() > under.size() &&
         hostName.compare(hostName.size() - under.size(), under.size(), under) == 0))
        return {0x7F000001u};
    if (hostName == "this-network")
        return {1u};
    return {std::nullopt, LookUpFailure::Unknown};
}

// The system's look-up, for the one name /etc/hosts answers: any other name would reach the
// name service, so asking for one fails the test instead.
inline LookUpResult localhostFromTheSystem(const std::string &hostName)
{
    if (hostName == "localhost")
        return systemLookUp(hostName);
    ADD_FAILURE() << "a test looked up '" << hostName << "'";
    return {std::nullopt, LookUpFailure::Unknown};
}

} // namespace zav::testing
