// The model list and model dimension-name answers.
#include <set>

#include "client/json_parsers.h"
#include "client/json_readers.h"

std::vector<JSONModel> ParseModelList(const web::json::value& answer) {
    std::vector<JSONModel> models;
    if (!answer.is_array()) {
        return models;
    }
    // The first model of each name wins; later ones of the same name are dropped.
    std::set<std::u16string> names;
    for (const web::json::value& element : answer.as_array()) {
        std::u16string name = JsonAsString(JsonField(element, "name"));
        if (names.count(name) != 0) {
            continue;
        }
        std::u16string created = JsonAsString(JsonField(element, "createdEpochSeconds"));
        std::u16string updated = JsonAsString(JsonField(element, "updatedEpochSeconds"));
        std::u16string desc = JsonAsString(JsonField(element, "desc"));
        std::u16string id = JsonAsString(JsonField(element, "id"));
        names.insert(name);
        models.emplace_back(std::move(id), std::move(name), std::move(desc), std::move(created),
                            std::move(updated));
    }
    return models;
}

std::vector<std::u16string> ParseModelNames(const web::json::value& answer) {
    std::vector<std::u16string> names;
    if (!answer.is_array()) {
        return names;
    }
    for (const web::json::value& element : answer.as_array()) {
        names.push_back(JsonAsString(JsonField(element, "name")));
    }
    return names;
}
