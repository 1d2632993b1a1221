# Sourced: make_samples TOOL FOLDER writes one small document of every kind with the zadanix tool,
# named sample.<extension>, and prints "extension type" for each.
make_samples() {
  local tool=$1 folder=$2
  cat >"$folder/test.json" <<'JSON'
{"kind": "test", "version": 40,
 "header": {"answerCount": 3, "multipleChoice": 0, "questionCount": 1, "time": 10,
            "testName": "Próbny test", "author": "Pakiet", "date": "2026-12-10", "remarks": "",
            "gradingOn": 0, "thresholds": [90, 80, 70, 60, 40]},
 "questions": [{"text": "Ile to 2 + 2?", "answers": ["3", "4", "5", "", ""], "correct": "01000",
                "imageName": "", "textName": "", "comment": ""}],
 "members": []}
JSON
  cat >"$folder/question.json" <<'JSON'
{"kind": "question", "version": 40,
 "question": {"storedName": "Zbiór", "multipleChoice": 0, "answerCount": 3, "text": "Czy to pytanie?",
              "answers": ["Tak", "Nie", "Nie wiem", "", ""], "correct": "10000", "imageName": "", "textName": "",
              "comment": "", "savedAt": ""}, "members": []}
JSON
  cat >"$folder/testList.json" <<'JSON'
{"kind": "testList", "version": 40, "author": "Pakiet", "date": "2026-12-10", "remarks": "",
 "entries": ["Test*/tmp/a.skt"]}
JSON
  cat >"$folder/setList.json" <<'JSON'
{"kind": "setList", "version": 40, "author": "Pakiet", "date": "2026-12-10", "remarks": "", "entries": []}
JSON
  cat >"$folder/studentList.json" <<'JSON'
{"kind": "studentList", "version": 40, "author": "Pakiet", "date": "2026-12-10", "remarks": "",
 "totalStudents": 1,
 "classes": [{"name": "5a", "resultsFolder": "", "time": 40, "gradingOn": 0,
              "thresholds": [95, 85, 70, 50, 30], "students": [{"firstName": "Jan", "surname": "Nowak"}]}]}
JSON
  local kind extension type
  for kind in test:skt:test question:skq:question testList:skg:test-list setList:skz:set-list \
              studentList:sku:student-list; do
    IFS=: read -r kind extension type <<<"$kind"
    "$tool" import "$folder/$kind.json" "$folder/sample.$extension" || return 1
    echo "$extension application/x-zadanix-$type"
  done
}
