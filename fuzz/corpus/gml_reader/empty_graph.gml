directed 1
graph [
]
