#pragma once

class ParameterHandler;

// What the program knows about the parameters of one kind of file, applied
// to a store after it has read the file: display names, type strings and
// section titles, and the parameters such a file always offers.
class ParameterCatalogue {
public:
    virtual ~ParameterCatalogue() = default;
    virtual void Apply(ParameterHandler& handler) const = 0;
};
