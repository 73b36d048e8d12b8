#pragma once
// The argument classes of the business commands, by class name, so that the
// command journal can rebuild them. The application adds them at start-up,
// before a document opens.

namespace ch {
class ArgumentClassRegistry;
}

namespace ch::business {

// Adds "VATRateArguments" and "VATPeriodArguments".
void registerBusinessArgumentClasses(ArgumentClassRegistry& registry);

} // namespace ch::business
