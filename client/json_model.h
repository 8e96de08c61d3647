// A model of the service, which the provider shows as one cube.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "client/json_dimension.h"

class JSONModel {
  public:
    JSONModel(std::u16string id, std::u16string name, std::u16string desc,
              std::u16string createdEpochSeconds, std::u16string updatedEpochSeconds)
        : id(std::move(id)),
          name(std::move(name)),
          desc(std::move(desc)),
          createdEpochSeconds(std::move(createdEpochSeconds)),
          updatedEpochSeconds(std::move(updatedEpochSeconds)) {}

    const std::u16string& GetId() const { return id; }
    const std::u16string& GetName() const { return name; }
    const std::u16string& GetDesc() const { return desc; }
    // Seconds since the epoch as the service sends them; never converted here.
    const std::u16string& GetCreatedEpochSeconds() const { return createdEpochSeconds; }
    const std::u16string& GetUpdatedEpochSeconds() const { return updatedEpochSeconds; }

    // Empty from the service; the provider fills it in its cached copy.
    std::vector<JSONDimension> dimensions;

  private:
    std::u16string id;
    std::u16string name;
    std::u16string desc;
    std::u16string createdEpochSeconds;
    std::u16string updatedEpochSeconds;
};
