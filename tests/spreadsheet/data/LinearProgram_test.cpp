// Linear programming: the output block, the problems without an optimum, and
// a set of small and medium problems solved here and by glpsol.
#include "spreadsheet/data/LinearProgram.h"
#include "spreadsheet/data/MatrixOps.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/spreadsheet/data/DataTestSupport.h"
#include "tests/spreadsheet/data/PeerTools.h"
#include "tests/spreadsheet/files/TempFolder.h"

namespace corvane {
namespace {

struct TProblem {
  const char* name;
  bool minimise;
  std::vector<std::vector<double>> rows;  // coefficients, then the right-hand side
  std::vector<const char*> relations;
  std::vector<double> objective;
  bool unique = false;  // one optimal point: the variables must agree too
};

class LinearProgramTest : public testing::DataTest {
 protected:
  // Lays the problem out from A1; the output goes to column Z (25).
  TRange PutProblem(const TProblem& p) {
    int n = static_cast<int>(p.objective.size()), m = static_cast<int>(p.rows.size());
    for (int i = 0; i < m; ++i) {
      for (int j = 0; j < n; ++j) SetCellNumber(i, j, p.rows[i][j]);
      EnterCell(p.relations[i], i, n);
      SetCellNumber(i, n + 1, p.rows[i][n]);
    }
    for (int j = 0; j < n; ++j) SetCellNumber(m, j, p.objective[j]);
    EnterCell(p.minimise ? "Min" : "MAX", m, n + 1);
    return BlockAt(0, 0, m + 1, n + 2);
  }
};

const TProblem kClassic = {"classic", false, {{1, 0, 4}, {0, 2, 12}, {3, 2, 18}}, {"LE", "LE", "LE"}, {3, 5}, true};

TEST_F(LinearProgramTest, OutputBlockAndStatedSign) {
  TRange problem = PutProblem(kClassic);
  ASSERT_TRUE(LinearProgram(problem, R("Z1")));
  EXPECT_EQ(Column("Z1", 3), (std::vector<std::string>{"'MAX", "'X1", "'X2"}));
  EXPECT_EQ(Column("AA1", 3), (std::vector<std::string>{"36", "2", "6"}));

  CellStoreClear();
  TProblem least = {"min", true, {{1, 1, 4}, {1, 3, 6}, {-1, 0, -1}}, {"GE", "GE", "le"}, {2, 3}};
  ASSERT_TRUE(LinearProgram(PutProblem(least), R("Z1")));
  EXPECT_EQ(Column("Z1", 1), (std::vector<std::string>{"'Min"}));
  EXPECT_NEAR(Num("AA1"), 9, 1e-12);
  EXPECT_NEAR(Num("AA2"), 3, 1e-12);
  EXPECT_NEAR(Num("AA3"), 1, 1e-12);
}

TEST_F(LinearProgramTest, NoOptimumIsNeverReported) {
  struct Case {
    TProblem problem;
    const char* message;
  } cases[] = {
      {{"infeasible", true, {{1, 1, 1}, {1, 1, 3}}, {"LE", "GE"}, {1, 1}}, kInfeasibleText},
      {{"infeasible equality", false, {{1, 1, 2}, {1, -1, 4}, {0, 1, 1}}, {"EQ", "EQ", "GE"}, {1, 0}}, kInfeasibleText},
      {{"unbounded", false, {{1, -1, 1}}, {"LE"}, {1, 1}}, kUnboundedText},
      {{"unknown relation", false, {{1, 1, 1}}, {"<="}, {1, 1}}, kLpLayoutText},
  };
  for (const Case& c : cases) {
    CellStoreClear();
    TRange problem = PutProblem(c.problem);
    EXPECT_REFUSED(LinearProgram(problem, R("Z1")), c.message);
  }
  TRange problem = PutProblem(kClassic);
  EXPECT_REFUSED(LinearProgram(problem, R("B2")), kOverlapText);
  EXPECT_REFUSED(LinearProgram(R("A1..A32"), R("Z1")), kArraySizeText);
}

// The problem in CPLEX LP form for glpsol.
std::string LpFile(const TProblem& p) {
  std::ostringstream out;
  out.precision(17);
  auto terms = [&](const std::vector<double>& coefficients) {
    for (std::size_t j = 0; j < p.objective.size(); ++j)
      out << (coefficients[j] < 0 ? " - " : " + ") << std::fabs(coefficients[j]) << " x" << j + 1;
  };
  out << (p.minimise ? "Minimize\n obj:" : "Maximize\n obj:");
  terms(p.objective);
  out << "\nSubject To\n";
  for (std::size_t i = 0; i < p.rows.size(); ++i) {
    std::string rel = p.relations[i];
    out << " c" << i + 1 << ":";
    terms(p.rows[i]);
    out << (rel == "LE" ? " <= " : rel == "GE" ? " >= " : " = ") << p.rows[i].back() << "\n";
  }
  out << "End\n";
  return out.str();
}

struct TGlpkAnswer {
  std::string status;  // "optimal", "infeasible" or "unbounded"
  double optimum = 0;
  std::vector<double> x;
};

std::optional<TGlpkAnswer> SolveWithGlpsol(const TProblem& p) {
  testing::TTempFolder temp;
  std::filesystem::path folder = temp.Path();
  auto lp = folder / "corvane_lp_test.lp", solution = folder / "corvane_lp_test.sol";
  std::ofstream(lp) << LpFile(p);
  std::filesystem::remove(solution);
  std::optional<std::string> log = testing::RunPeer("glpsol --lp " + lp.string() + " -w " + solution.string());
  if (!log) return std::nullopt;
  TGlpkAnswer answer;
  if (log->find("NO PRIMAL FEASIBLE") != std::string::npos) answer.status = "infeasible";
  else if (log->find("UNBOUNDED") != std::string::npos) answer.status = "unbounded";
  else if (log->find("OPTIMAL") != std::string::npos) answer.status = "optimal";
  std::ifstream in(solution);
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string tag, status, a, b, c;
    fields >> tag;
    if (tag == "s") {
      fields >> a >> b >> c >> status >> status >> answer.optimum;
    } else if (tag == "j") {
      double value = 0;
      fields >> a >> status >> value;
      answer.x.push_back(value);
    }
  }
  return answer;
}

// Problems with a unique optimum, degenerate ones, equalities, >= rows and
// negative right-hand sides, and two medium random ones.
std::vector<TProblem> PeerProblems() {
  std::vector<TProblem> problems = {
      kClassic,
      {"ge rows", true, {{1, 1, 4}, {1, 3, 6}}, {"GE", "GE"}, {2, 3}, true},
      {"equality", false, {{1, 2, 4}, {1, 0, 3}}, {"EQ", "LE"}, {1, 1}, true},
      {"negative rhs", true, {{1, -1, -1}, {1, 1, 5}}, {"LE", "LE"}, {1, 1}, true},
      {"degenerate (Beale)", false,
       {{0.25, -8, -1, 9, 0}, {0.5, -12, -0.5, 3, 0}, {0, 0, 1, 0, 1}}, {"LE", "LE", "LE"}, {0.75, -20, 0.5, -6}},
      {"degenerate vertex", false, {{1, 1, 2}, {1, 0, 1}, {0, 1, 1}, {1, 2, 3}}, {"LE", "LE", "LE", "LE"}, {1, 1}},
      {"infeasible", true, {{1, 1, 1}, {1, 1, 3}}, {"LE", "GE"}, {1, 1}},
      {"unbounded", false, {{1, -1, 1}, {-1, 1, 2}}, {"LE", "LE"}, {1, 0}},
  };
  unsigned seed = 3;
  auto next = [&](double low, double high) {
    seed = seed * 1103515245u + 12345u;
    return low + (high - low) * static_cast<double>(seed >> 16 & 0x7FFF) / 32767.0;
  };
  for (int shape = 0; shape < 2; ++shape) {
    TProblem p = {shape == 0 ? "random 20x15 LE" : "random 12x10 mixed", shape == 1, {}, {}, {}};
    int m = shape == 0 ? 15 : 10, n = shape == 0 ? 20 : 12;
    for (int j = 0; j < n; ++j) p.objective.push_back(std::round(next(1, 10)));
    for (int i = 0; i < m; ++i) {
      std::vector<double> row;
      for (int j = 0; j < n; ++j) row.push_back(std::round(next(0, 9)));
      const char* rel = shape == 0 || i % 3 == 0 ? "LE" : (i % 3 == 1 ? "GE" : "EQ");
      row.push_back(std::string(rel) == "LE" ? std::round(next(60, 120)) : std::round(next(5, 30)));
      p.rows.push_back(row);
      p.relations.push_back(rel);
    }
    problems.push_back(p);
  }
  return problems;
}

TEST_F(LinearProgramTest, AgreesWithGlpsol) {
  if (!testing::HaveGlpsol()) GTEST_SKIP() << "glpk-utils is not installed: no outside reference for linear programs";
  for (const TProblem& p : PeerProblems()) {
    CellStoreClear();
    std::optional<TGlpkAnswer> reference = SolveWithGlpsol(p);
    ASSERT_TRUE(reference) << p.name;
    testing::gDataShownErrors.clear();
    bool solved = LinearProgram(PutProblem(p), R("Z1"));
    std::string status = solved ? "optimal" : LastError() == std::string("Error:") + kInfeasibleText ? "infeasible"
                                          : LastError() == std::string("Error:") + kUnboundedText    ? "unbounded"
                                                                                                       : LastError();
    std::printf("%-22s glpsol %-10s here %-10s", p.name, reference->status.c_str(), status.c_str());
    ASSERT_EQ(status, reference->status) << p.name;
    if (!solved) {
      std::printf("\n");
      continue;
    }
    double optimum = NumberAt(0, 26);
    std::printf(" optimum %.12g / %.12g\n", optimum, reference->optimum);
    EXPECT_NEAR(optimum, reference->optimum, 1e-9 * std::max(1.0, std::fabs(optimum))) << p.name;
    // Where optima are not unique the points may differ: each must be feasible
    // and reach the optimum.
    std::size_t n = p.objective.size();
    double value = 0;
    for (std::size_t j = 0; j < n; ++j) value += p.objective[j] * NumberAt(1 + static_cast<int>(j), 26);
    EXPECT_NEAR(value, optimum, 1e-9 * std::max(1.0, std::fabs(optimum))) << p.name;
    for (std::size_t i = 0; i < p.rows.size(); ++i) {
      double lhs = 0;
      for (std::size_t j = 0; j < n; ++j) lhs += p.rows[i][j] * NumberAt(1 + static_cast<int>(j), 26);
      std::string rel = p.relations[i];
      double slack = rel == "LE" ? p.rows[i][n] - lhs : rel == "GE" ? lhs - p.rows[i][n] : -std::fabs(lhs - p.rows[i][n]);
      EXPECT_GE(slack, -1e-9 * std::max(1.0, std::fabs(p.rows[i][n]))) << p.name << " row " << i + 1;
    }
    for (std::size_t j = 0; j < n; ++j) {
      double x = NumberAt(1 + static_cast<int>(j), 26);
      EXPECT_GE(x, -1e-12) << p.name;
      if (p.unique) {
        EXPECT_NEAR(x, reference->x.at(j), 1e-9 * std::max(1.0, std::fabs(x))) << p.name << " x" << j + 1;
      }
    }
  }
}

}  // namespace
}  // namespace corvane
