// kest-cli create, check, schema and sql: the catalog file commands.
#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "core/catalog/CatalogCheck.h"
#include "core/catalog/CatalogCommands.h"
#include "core/common/Errors.h"

namespace kest::cli {

namespace {

const char* YesNo(bool value) {
    return value ? "yes" : "no";
}

CommandRun SetupCreate(CLI::App& app, CliContext& context) {
    auto path = std::make_shared<std::string>();
    app.add_subcommand("create", "Create a new, empty catalog at PATH")
        ->add_option("PATH", *path)
        ->required();
    return [&context, path] {
        CliSession session(context);
        context.prompter.files.push_back(AbsolutePath(*path));
        CreateCatalogCommand(session.current, session, context.prompter);
        return session.current.loaded ? 0 : 1;
    };
}

CommandRun SetupCheck(CLI::App& app, CliContext& context) {
    auto path = std::make_shared<std::string>();
    app.add_subcommand("check", "Check (and, when agreed, upgrade) the catalog at PATH")
        ->add_option("PATH", *path)
        ->required();
    return [&context, path] {
        CheckResult result = CheckCatalog(AbsolutePath(*path), context.prompter);
        std::cout << "code=" << static_cast<int>(result.code)
                  << " valid=" << (result.valid ? "true" : "false")
                  << " error=" << result.errorNumber << "\n";
        if (!result.valid)
            EchoLines(std::cout,
                      OpenWarningText(result.code, result.errorNumber, result.errorText));
        return result.valid ? 0 : 1;
    };
}

CommandRun SetupSchema(CLI::App& app, CliContext& context) {
    auto path = std::make_shared<std::string>();
    app.add_subcommand("schema", "Print the catalog tables, fields and indexes")
        ->add_option("PATH", *path)
        ->required();
    return [&context, path] {
        std::string password;
        auto db = OpenWithPassword(AbsolutePath(*path), context.prompter, password);
        // No password given, or none accepted: said, not a silent end.
        if (!db) throw err::InvalidPassword();
        for (const char* name : {"tblDiscs", "tblFiles", "tblSubFiles"}) {
            if (!db->HasTable(name)) continue;
            engine::TableDef table = db->Table(name);
            std::cout << "TABLE\t" << table.name << "\n";
            for (const auto& f : table.fields) {
                std::cout << "FIELD\t" << f.ordinalPosition << "\t" << f.name << "\t"
                          << engine::FieldTypeName(f.type) << "\t" << f.size << "\t"
                          << YesNo(f.required) << "\t" << YesNo(f.allowZeroLength) << "\t"
                          << f.defaultValue << "\t" << f.attributes << "\n";
            }
            for (const auto& index : table.indexes) {
                std::string fields;
                for (const auto& f : index.fields) fields += (fields.empty() ? "" : ",") + f;
                std::cout << "INDEX\t" << index.name << "\t" << YesNo(index.primary) << "\t"
                          << YesNo(index.unique) << "\t" << fields << "\n";
            }
        }
        return 0;
    };
}

CommandRun SetupSql(CLI::App& app, CliContext& context) {
    auto path = std::make_shared<std::string>();
    auto statement = std::make_shared<std::string>();
    CLI::App* sub =
        app.add_subcommand("sql", "Run one Jet-dialect statement on the catalog at PATH");
    sub->add_option("PATH", *path)->required();
    sub->add_option("STATEMENT", *statement)->required();
    return [&context, path, statement] {
        std::string password;
        auto db = OpenWithPassword(AbsolutePath(*path), context.prompter, password);
        // No password given, or none accepted: said, not a silent end.
        if (!db) throw err::InvalidPassword();
        auto query = db->Prepare(*statement);
        if (query.ColumnCount() == 0) {
            int64_t rows = query.Run();  // an error comes before any output
            std::cout << "rows=" << rows << "\n";
            return 0;
        }
        for (int c = 0; c < query.ColumnCount(); ++c)
            std::cout << (c ? "\t" : "") << query.ColumnName(c);
        std::cout << "\n";
        while (query.Step()) {
            for (int c = 0; c < query.ColumnCount(); ++c)
                std::cout << (c ? "\t" : "") << query.Text(c);
            std::cout << "\n";
        }
        return 0;
    };
}

const CommandRegistrar kCreate("create", &SetupCreate);
const CommandRegistrar kCheck("check", &SetupCheck);
const CommandRegistrar kSchema("schema", &SetupSchema);
const CommandRegistrar kSql("sql", &SetupSql);

}  // namespace

}  // namespace kest::cli
