// Stand-in data for the metadata tests: one user and a model with one dimension of two levels.
#pragma once

constexpr char kSampleModel[] = R"json({
  "users": [{"user": "ann@example.com", "password": "secret", "apiUser": "ann-api",
             "apiKey": "ann-key"}],
  "models": [
    {"id": "7", "name": "Sales", "desc": "Sales plan", "createdEpochSeconds": "1700000000",
     "updatedEpochSeconds": "1700000500", "valuesCsv": "Product,Value\nWidget,12.5\n",
     "dimensions": [
       {"id": "d-product", "number": 3, "name": "Product", "memberCardinality": 3,
        "dimensionOrdinal": 1,
        "allMember": {"id": "0", "name": "All", "numChildren": 2, "numPositions": 1,
                      "dimensionNumber": 3,
                      "positions": [{"mdxParentMemberId": null, "level": 0, "levelName": "(All)"}]},
        "defaultMember": {"id": "41", "name": "Widget", "alias": "W1", "dimensionNumber": 3},
        "levels": [
          {"id": "0", "number": 0, "memberCardinality": 1,
           "members": [{"id": "0", "name": "All", "numChildren": 2}]},
          {"id": "1", "number": 1, "memberCardinality": 2,
           "members": [
             {"id": "41", "name": "Widget", "alias": "W1", "numChildren": 0, "numPositions": 2,
              "dimensionNumber": 3, "mdxMemberOrdinal": 5, "isAttribute": false,
              "isExpression": true,
              "positions": [
                {"mdxParentMemberId": "0", "mdxParentMemberName": "[Product <3>].[All <0>]",
                 "level": 1, "levelName": "Category"},
                {"mdxParentMemberId": null, "mdxParentMemberName": null, "level": 2,
                 "levelName": "Item"}]},
             {"id": "42", "name": "Gadget", "dimensionNumber": 3}]}]}]},
    {"id": "8", "name": "Sales", "desc": "a second model of the same name"},
    {"id": "9", "name": "Costs"}
  ]
})json";
